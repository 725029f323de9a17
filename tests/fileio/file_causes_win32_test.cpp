// What the Windows API's failures become: the causes that the messages and a
// later try go by.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <chrono>
#include <thread>

#include "fileio/file_replace.h"
#include "fileio/whole_file.h"
#include "support/scratch_dir.h"

namespace vrellix {
namespace {

// A file holding "old" that another program keeps open without sharing it.
class FileCausesWin32 : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing::WriteBytes(path, "old"));
    held = CreateFileW(std::filesystem::u8path(path).wstring().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
  }

  testing::ScratchDir dir;
  const std::string path = dir.File("held.csv");
  HANDLE held = INVALID_HANDLE_VALUE;
};

// Held for good: the file is neither read nor replaced (after a second of
// tries), and said to be in use.
TEST_F(FileCausesWin32, AFileHeldWithoutSharingIsInUse) {
  std::string bytes;
  const FileResult read = ReadWholeFile(path, 1024, bytes);
  const FileResult replaced = ReplaceFileContents(path, "new");
  CloseHandle(held);
  EXPECT_EQ(read.cause, FileCause::kInUse);
  EXPECT_EQ(read.osError, static_cast<int>(ERROR_SHARING_VIOLATION));
  EXPECT_EQ(replaced.cause, FileCause::kInUse);
  EXPECT_EQ(FileFailureReason(replaced), "他のプログラムが使用中です");
  EXPECT_EQ(testing::ReadBytes(path), "old");
  EXPECT_EQ(dir.EntryCount(), 1u) << "temporary file left behind";
}

// A scanner lets go of the file within the second: the replace goes through.
TEST_F(FileCausesWin32, AFileHeldForAMomentIsReplaced) {
  std::thread scanner([this] {
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    CloseHandle(held);
  });
  const FileResult replaced = ReplaceFileContents(path, "new");
  scanner.join();
  EXPECT_TRUE(replaced.Ok()) << FileFailureReason(replaced);
  EXPECT_EQ(testing::ReadBytes(path), "new");
}

}  // namespace
}  // namespace vrellix
