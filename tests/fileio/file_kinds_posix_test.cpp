// Reading and replacing against everything a path can name: only regular files
// are read or replaced, nothing else is touched, and nothing blocks.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <map>
#include <optional>
#include <ostream>
#include <string>

#include "fileio/file_replace.h"
#include "fileio/whole_file.h"
#include "support/scratch_dir.h"
#include "support/special_files.h"

namespace vrellix {
namespace {

namespace fs = std::filesystem;
using testing::MakeFifo;
using testing::MakeNullDevice;
using testing::MakeSocket;
using testing::ReadBytes;
using testing::ScratchDir;
using testing::UnlessStuckOn;
using testing::WriteBytes;

// Makes what the test's path names inside dir; false when this machine cannot
// (a device node needs root).
using Maker = std::function<bool(const ScratchDir& dir)>;

// The path every case reads or saves, and what it names.
const char kTarget[] = "target";

Maker Regular(const std::string& bytes) {
  return [bytes](const ScratchDir& dir) {
    WriteBytes(dir.File(kTarget), bytes);
    return true;
  };
}
Maker LinkTo(const std::string& name, Maker makeThere) {
  return [name, makeThere](const ScratchDir& dir) {
    fs::create_symlink(name, dir.Path() / kTarget);
    return makeThere(dir);
  };
}
Maker Named(const std::string& name, std::function<bool(const std::string&)> make) {
  return [name, make](const ScratchDir& dir) { return make(dir.File(name)); };
}
const Maker kNothing = [](const ScratchDir&) { return true; };
const Maker kDirectory = Named(kTarget, [](const std::string& p) { return fs::create_directory(p); });
const Maker kFifo = Named(kTarget, MakeFifo);
const Maker kSocket = Named(kTarget, MakeSocket);
const Maker kNullDevice = Named(kTarget, MakeNullDevice);

// Every entry of the directory with its type, and a regular file's bytes.
std::map<std::string, std::string> Snapshot(const ScratchDir& dir) {
  std::map<std::string, std::string> entries;
  for (const fs::directory_entry& entry : fs::directory_iterator(dir.Path())) {
    const std::string name = entry.path().filename().string();
    std::string& seen = entries[name];
    switch (entry.symlink_status().type()) {
      case fs::file_type::symlink: seen = "link to " + fs::read_symlink(entry.path()).string(); break;
      case fs::file_type::regular: seen = "file " + ReadBytes(entry.path().string()); break;
      case fs::file_type::directory: seen = "directory"; break;
      case fs::file_type::fifo: seen = "fifo"; break;
      case fs::file_type::socket: seen = "socket"; break;
      case fs::file_type::character: seen = "character device"; break;
      default: seen = "other"; break;
    }
  }
  return entries;
}

// ---------------------------------------------------------------- reading

struct ReadCase {
  const char* what;
  Maker make;
  const char* path;  // relative to the directory
  ReadOutcome outcome;
  const char* bytes;  // what was read, on kRead
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.what; }

class ReadWholeFileTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadWholeFileTest, ReadsOnlyRegularFilesAndNeverBlocks) {
  const ReadCase& c = GetParam();
  ScratchDir dir;
  if (!c.make(dir)) GTEST_SKIP() << "cannot make " << c.what << " here";
  const std::string path = dir.File(c.path);
  const auto before = Snapshot(dir);

  std::string bytes = "unchanged";
  const std::optional<ReadOutcome> outcome =
      UnlessStuckOn<ReadOutcome>(path, [&] { return ReadWholeFile(path, 16, bytes); });
  ASSERT_TRUE(outcome) << "blocked reading " << c.what;
  EXPECT_EQ(*outcome, c.outcome);
  EXPECT_EQ(bytes, c.outcome == ReadOutcome::kRead ? c.bytes : "unchanged");
  EXPECT_EQ(Snapshot(dir), before);
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReadWholeFileTest,
    ::testing::Values(
        //       what                      make                                   path        outcome                    bytes
        ReadCase{"regular file",           Regular("a,b\r\n"),                    kTarget,    ReadOutcome::kRead,        "a,b\r\n"},
        ReadCase{"empty file",             Regular(""),                           kTarget,    ReadOutcome::kRead,        ""},
        ReadCase{"exactly the limit",      Regular(std::string(16, 'x')),         kTarget,    ReadOutcome::kRead,        "xxxxxxxxxxxxxxxx"},
        ReadCase{"one byte over",          Regular(std::string(17, 'x')),         kTarget,    ReadOutcome::kTooLarge,    nullptr},
        ReadCase{"link to a regular file", LinkTo("real", Named("real", [](const std::string& p) {
                                             WriteBytes(p, "linked");
                                             return true;
                                           })),                                   kTarget,    ReadOutcome::kRead,        "linked"},
        ReadCase{"nothing",                kNothing,                              kTarget,    ReadOutcome::kMissing,     nullptr},
        ReadCase{"missing folder",         kNothing,                              "no/file",  ReadOutcome::kMissing,     nullptr},
        ReadCase{"directory",              kDirectory,                            kTarget,    ReadOutcome::kNotReadable, nullptr},
        ReadCase{"FIFO without a writer",  kFifo,                                 kTarget,    ReadOutcome::kNotReadable, nullptr},
        ReadCase{"link to a FIFO",         LinkTo("fifo", Named("fifo", MakeFifo)), kTarget,  ReadOutcome::kNotReadable, nullptr},
        ReadCase{"socket",                 kSocket,                               kTarget,    ReadOutcome::kNotReadable, nullptr},
        ReadCase{"null device node",       kNullDevice,                           kTarget,    ReadOutcome::kNotReadable, nullptr}));

// ---------------------------------------------------------------- replacing

struct SaveCase {
  const char* what;
  Maker make;
  const char* path;     // relative to the directory
  ReplaceOutcome outcome;
  const char* written;  // the entry that must hold the new bytes afterwards, or nullptr
};

void PrintTo(const SaveCase& c, std::ostream* os) { *os << c.what; }

class ReplaceTargetTest : public ::testing::TestWithParam<SaveCase> {};

TEST_P(ReplaceTargetTest, ReplacesOnlyRegularFilesAndTouchesNothingElse) {
  const SaveCase& c = GetParam();
  ScratchDir dir;
  if (!c.make(dir)) GTEST_SKIP() << "cannot make " << c.what << " here";
  auto expected = Snapshot(dir);
  if (c.written) expected[c.written] = "file new bytes";

  EXPECT_EQ(ReplaceFileContents(dir.File(c.path), "new bytes"), c.outcome);
  EXPECT_EQ(Snapshot(dir), expected) << "no temporary file may be left, nothing else may change";
}

INSTANTIATE_TEST_SUITE_P(
    Kinds, ReplaceTargetTest,
    ::testing::Values(
        //       what                      make                                      path        outcome                         written
        SaveCase{"regular file",           Regular("old"),                           kTarget,    ReplaceOutcome::kReplaced,      kTarget},
        SaveCase{"nothing yet",            kNothing,                                 kTarget,    ReplaceOutcome::kReplaced,      kTarget},
        SaveCase{"link to a regular file", LinkTo("real", Named("real", [](const std::string& p) {
                                             WriteBytes(p, "old");
                                             return true;
                                           })),                                      kTarget,    ReplaceOutcome::kReplaced,      "real"},
        SaveCase{"null device node",       kNullDevice,                              kTarget,    ReplaceOutcome::kCannotCreate,  nullptr},
        SaveCase{"FIFO",                   kFifo,                                    kTarget,    ReplaceOutcome::kCannotCreate,  nullptr},
        SaveCase{"link to a FIFO",         LinkTo("fifo", Named("fifo", MakeFifo)),  kTarget,    ReplaceOutcome::kCannotCreate,  nullptr},
        SaveCase{"socket",                 kSocket,                                  kTarget,    ReplaceOutcome::kCannotCreate,  nullptr},
        SaveCase{"directory",              kDirectory,                               kTarget,    ReplaceOutcome::kCannotCreate,  nullptr},
        SaveCase{"missing folder",         kNothing,                                 "no/file",  ReplaceOutcome::kCannotCreate,  nullptr}));

// Saved as root into a user's folder, a user's file stays theirs.
TEST(ReplaceOwner, IsKept) {
  if (geteuid() != 0) GTEST_SKIP() << "only root can give a file away";
  ScratchDir dir;
  const std::string path = dir.File(kTarget);
  WriteBytes(path, "old");
  ASSERT_EQ(chown(path.c_str(), 4321, 4322), 0);
  ASSERT_EQ(ReplaceFileContents(path, "new bytes"), ReplaceOutcome::kReplaced);
  struct stat info {};
  ASSERT_EQ(stat(path.c_str(), &info), 0);
  EXPECT_EQ(info.st_uid, 4321u);
  EXPECT_EQ(info.st_gid, 4322u);
}

}  // namespace
}  // namespace vrellix
