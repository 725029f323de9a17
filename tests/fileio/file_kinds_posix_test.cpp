// Reading and replacing whatever a path can name: only regular files are read or
// replaced, nothing else is touched, and nothing blocks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "fileio/file_replace.h"
#include "fileio/whole_file.h"
#include "support/scratch_dir.h"
#include "support/non_regular_files.h"
#include "support/other_user.h"

namespace vrellix {
namespace {

namespace fs = std::filesystem;
using testing::ScratchDir;

// Each maker puts something at "target"; false where this machine cannot.
bool Nothing(const ScratchDir&) { return true; }
bool Regular(const ScratchDir& d) {
  testing::WriteBytes(d.File("target"), "old");
  return true;
}
bool Directory(const ScratchDir& d) { return fs::create_directory(d.File("target")); }
bool Fifo(const ScratchDir& d) { return testing::MakeFifo(d.File("target")); }
bool Socket(const ScratchDir& d) { return testing::MakeSocket(d.File("target")); }
bool NullDevice(const ScratchDir& d) { return testing::MakeNullDevice(d.File("target")); }  // needs root
bool LinkToRegular(const ScratchDir& d) {
  testing::WriteBytes(d.File("real"), "old");
  fs::create_symlink("real", d.Path() / "target");
  return true;
}
bool LinkToFifo(const ScratchDir& d) {
  fs::create_symlink("fifo", d.Path() / "target");
  return testing::MakeFifo(d.File("fifo"));
}

// Every entry of the directory with its type, and a regular file's bytes.
std::map<std::string, std::string> Snapshot(const ScratchDir& dir) {
  std::map<std::string, std::string> entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path())) {
    const fs::file_type type = entry.symlink_status().type();
    std::string seen = std::to_string(static_cast<int>(type));
    if (type == fs::file_type::regular) seen += testing::ReadBytes(entry.path().string());
    if (type == fs::file_type::symlink) seen += fs::read_symlink(entry.path()).string();
    entries[entry.path().filename().string()] = seen;
  }
  return entries;
}

struct KindCase {
  const char* what;
  bool (*make)(const ScratchDir&);
  const char* path;  // in the directory
  FileCause read;
  FileCause save;
  const char* saved;  // the entry that holds the new bytes after the save, or nullptr
};

void PrintTo(const KindCase& c, std::ostream* os) { *os << c.what; }

class FileKindTest : public ::testing::TestWithParam<KindCase> {};

TEST_P(FileKindTest, OnlyRegularFilesAreReadOrReplacedAndNothingElseIsTouched) {
  const KindCase& c = GetParam();
  ScratchDir dir;
  if (!c.make(dir)) GTEST_SKIP() << "cannot make a " << c.what << " here";
  const std::string path = dir.File(c.path);
  auto expected = Snapshot(dir);

  std::string bytes = "unchanged";
  const std::optional<FileResult> read =
      testing::UnlessStuckOn<FileResult>(path, [&] { return ReadWholeFile(path, 1024, bytes); });
  ASSERT_TRUE(read) << "blocked reading a " << c.what;
  EXPECT_EQ(read->cause, c.read);
  EXPECT_EQ(bytes, c.read == FileCause::kNone ? "old" : "unchanged");
  EXPECT_EQ(Snapshot(dir), expected);

  EXPECT_EQ(ReplaceFileContents(path, "new").cause, c.save);
  if (c.saved) expected[c.saved] = std::to_string(static_cast<int>(fs::file_type::regular)) + "new";
  EXPECT_EQ(Snapshot(dir), expected) << "nothing else may change, no temporary file may stay";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, FileKindTest,
    ::testing::Values(
        //       what                 make           path       read                        save                        saved
        KindCase{"regular file",      Regular,       "target",  FileCause::kNone,           FileCause::kNone,           "target"},
        KindCase{"link to a file",    LinkToRegular, "target",  FileCause::kNone,           FileCause::kNone,           "real"},
        KindCase{"missing file",      Nothing,       "target",  FileCause::kNotFound,       FileCause::kNone,           "target"},
        KindCase{"missing folder",    Nothing,       "no/file", FileCause::kNotFound,       FileCause::kNotFound,       nullptr},
        KindCase{"directory",         Directory,     "target",  FileCause::kNotRegularFile, FileCause::kNotRegularFile, nullptr},
        KindCase{"FIFO",              Fifo,          "target",  FileCause::kNotRegularFile, FileCause::kNotRegularFile, nullptr},
        KindCase{"link to a FIFO",    LinkToFifo,    "target",  FileCause::kNotRegularFile, FileCause::kNotRegularFile, nullptr},
        KindCase{"socket",            Socket,        "target",  FileCause::kNotRegularFile, FileCause::kNotRegularFile, nullptr},
        KindCase{"null device node",  NullDevice,    "target",  FileCause::kNotRegularFile, FileCause::kNotRegularFile, nullptr}));

// Saved by root in a user's folder, a user's file stays theirs.
TEST(FileReplace, KeepsTheOwner) {
  ScratchDir dir;
  const std::string path = dir.File("target");
  testing::WriteBytes(path, "old");
  if (chown(path.c_str(), 4321, 4322) != 0) GTEST_SKIP() << "only root can give a file away";
  ASSERT_TRUE(ReplaceFileContents(path, "new").Ok());
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 4321u);
  EXPECT_EQ(info.st_gid, 4322u);
}

// Another user's file (rw-r--r--) stays theirs, even in a folder anyone may write.
TEST(FileReplace, AFileTheUserMayNotWriteIsLeftAlone) {
  if (!testing::RunsAsRoot()) GTEST_SKIP() << "needs a file of another user";
  ScratchDir dir;
  fs::permissions(dir.Path(), fs::perms::all);
  testing::WriteBytes(dir.File("target"), "old");
  fs::permissions(dir.File("target"), fs::perms(0644));
  const auto outcome = testing::RunAsOtherUser([&] { return FileFailureReason(ReplaceFileContents(dir.File("target"), "new")); });
  EXPECT_EQ(outcome, "読み取り専用です");
  EXPECT_EQ(testing::ReadBytes(dir.File("target")) + std::to_string(dir.EntryCount()), "old1");
}

}  // namespace
}  // namespace vrellix
