// Album files and what only POSIX has: a FIFO is neither waited on nor
// replaced; permission bits and a symbolic link survive a save.
#include <gtest/gtest.h>

#include <filesystem>

#include "album/album_csv.h"
#include "support/edited_albums.h"
#include "support/scratch_dir.h"
#include "support/non_regular_files.h"

namespace vrellix {
namespace {

TEST(CsvFifo, LoadFailsAtOnceAndSaveIsRefused) {
  testing::ScratchDir dir;
  const std::string fifo = dir.File("album.csv");
  ASSERT_TRUE(testing::MakeFifo(fifo));
  EditedAlbum album;
  const auto loaded = testing::UnlessStuckOn<AlbumFileResult>(fifo, [&] { return LoadAlbumCsv(fifo, album); });
  ASSERT_TRUE(loaded) << "the load waited for a writer";
  EXPECT_EQ(AlbumFileMessage(*loaded), "ファイルオープンに失敗しました");
  EXPECT_EQ(AlbumFileMessage(SaveAlbumCsv(fifo, album)), "ファイルオープンに失敗しました");
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

TEST(CsvSave, ReplacingKeepsTheFilePermissionsAndWritesThroughALink) {
  namespace fs = std::filesystem;
  testing::ScratchDir dir;
  const std::string path = dir.File("album.csv");
  testing::WriteBytes(path, "old\r\n");
  fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
  fs::create_symlink("album.csv", dir.Path() / "link.csv");

  ASSERT_TRUE(SaveAlbumCsv(dir.File("link.csv"), testing::AlbumWith("T", "", "")).Ok());
  EXPECT_TRUE(fs::is_symlink(dir.Path() / "link.csv"));
  EXPECT_EQ(testing::ReadBytes(path), "T\r\nnone\r\nnone\r\n");
  EXPECT_EQ(fs::status(path).permissions() & fs::perms::all, fs::perms::owner_read | fs::perms::owner_write);
}

}  // namespace
}  // namespace vrellix
