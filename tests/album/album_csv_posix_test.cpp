// Album files and a FIFO: neither waited on nor replaced.
#include <gtest/gtest.h>

#include <filesystem>

#include "album/album_csv.h"
#include "support/scratch_dir.h"
#include "support/special_files.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

TEST(CsvFifo, LoadFailsAtOnceAndSaveIsRefused) {
  testing::ScratchDir dir;
  const std::string fifo = dir.File("album.csv");
  ASSERT_TRUE(testing::MakeFifo(fifo));
  EditedAlbum album;
  const auto loaded = testing::UnlessStuckOn<CsvResult>(fifo, [&] { return LoadAlbumCsv(fifo, album, CountUnenterable); });
  ASSERT_TRUE(loaded) << "the load waited for a writer";
  EXPECT_EQ(loaded->message, "ファイルオープンに失敗しました");
  EXPECT_EQ(SaveAlbumCsv(fifo, album).message, "ファイルオープンに失敗しました");
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
}

}  // namespace
}  // namespace vrellix
