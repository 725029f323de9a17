// Album files against what is not a file: a FIFO.
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "album/album_csv.h"
#include "support/scratch_dir.h"
#include "support/special_files.h"
#include "validate/input_checks.h"

namespace vrellix {
namespace {

using testing::ScratchDir;

const char kOpenFailed[] = "ファイルオープンに失敗しました";

TEST(CsvFifo, LoadingOneWithoutAWriterFailsAtOnceAndSavingOntoOneIsRefused) {
  ScratchDir dir;
  const std::string fifo = dir.File("album.csv");
  ASSERT_TRUE(testing::MakeFifo(fifo));
  EditedAlbum album;
  album.title = "kept";

  const std::optional<CsvResult> loaded =
      testing::UnlessStuckOn<CsvResult>(fifo, [&] { return LoadAlbumCsv(fifo, album, CountUnenterable); });
  ASSERT_TRUE(loaded) << "the load waited for a writer";
  EXPECT_EQ(loaded->message, kOpenFailed);
  EXPECT_EQ(album.title, "kept");

  const CsvResult saved = SaveAlbumCsv(fifo, album);
  EXPECT_EQ(saved.message, kOpenFailed);
  EXPECT_TRUE(std::filesystem::is_fifo(fifo));
  EXPECT_EQ(dir.EntryCount(), 1u);
}

}  // namespace
}  // namespace vrellix
