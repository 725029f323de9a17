// Any file that loads must save, and the saved file must load back as the same
// album: the texts as the save writes them (trimmed, "none" for empty, no
// tracks after the last named one). Saving that album again gives the same bytes.
//
// One exception: saved bytes that are UTF-8 as well may read as UTF-8 when
// they hold a kanji of the second level or the like, which the device cannot
// enter (陂㎜ reads back as 蘇o).
#include <algorithm>
#include <string>

#include "album/album_csv.h"
#include "text/trim.h"
#include "entry/char_class.h"
#include "text/text_codec.h"
#include "fuzz_support.h"
#include "support/scratch_dir.h"

namespace {

using vrellix::EditedAlbum;
using vrellix::fuzz::Escaped;
using vrellix::fuzz::Require;
using vrellix::testing::ReadBytes;
using vrellix::testing::ScratchDir;
using vrellix::testing::WriteBytes;

// What the file format keeps of a text: "none" is how it writes an empty one.
std::string Kept(const std::string& text) {
  std::string trimmed = vrellix::TrimWhite(text);
  return trimmed == "none" ? std::string() : trimmed;
}

EditedAlbum AsSaved(const EditedAlbum& loaded) {
  EditedAlbum saved;
  saved.title = Kept(loaded.title);
  saved.yomi = Kept(loaded.yomi);
  saved.artist = Kept(loaded.artist);
  int lastNamed = -1;
  for (int r = 0; r < vrellix::kTrackCount; ++r) {
    if (!Kept(loaded.rows[static_cast<std::size_t>(r)].name).empty()) lastNamed = r;
  }
  for (int r = 0; r <= lastNamed; ++r) {
    saved.rows[static_cast<std::size_t>(r)].name = Kept(loaded.rows[static_cast<std::size_t>(r)].name);
    saved.rows[static_cast<std::size_t>(r)].yomi = Kept(loaded.rows[static_cast<std::size_t>(r)].yomi);
  }
  return saved;
}

std::string Describe(const EditedAlbum& album) {
  std::string out = "[" + Escaped(album.title) + "|" + Escaped(album.yomi) + "|" + Escaped(album.artist) + "]";
  for (int r = 0; r < vrellix::kTrackCount; ++r) {
    const vrellix::EditedRow& row = album.rows[static_cast<std::size_t>(r)];
    if (!row.name.empty() || !row.yomi.empty()) {
      out += " " + std::to_string(r + 1) + ":" + Escaped(row.name) + "," + Escaped(row.yomi);
    }
  }
  return out;
}

bool SameTexts(const EditedAlbum& a, const EditedAlbum& b) {
  if (a.title != b.title || a.yomi != b.yomi || a.artist != b.artist) return false;
  for (int r = 0; r < vrellix::kTrackCount; ++r) {
    const auto& x = a.rows[static_cast<std::size_t>(r)];
    const auto& y = b.rows[static_cast<std::size_t>(r)];
    if (x.name != y.name || x.yomi != y.yomi) return false;
  }
  return true;
}

bool IsAlsoUtf8(const std::string& bytes) {
  return vrellix::IsValidUtf8(bytes) &&
         std::any_of(bytes.begin(), bytes.end(), [](char c) { return static_cast<unsigned char>(c) >= 0x80; });
}

// Whether code page 932 bytes hold a character (not a line end) that the device cannot enter.
bool HoldsUnenterable(const std::string& cp932) {
  for (std::size_t i = 0; i < cp932.size();) {
    const auto c = static_cast<unsigned char>(cp932[i]);
    const std::size_t length = ((c >= 0x81 && c <= 0x9F) || c >= 0xE0) ? 2 : 1;
    if (c != '\r' && c != '\n' && c != ',' && !vrellix::CanEnterCharacter(cp932.substr(i, length))) return true;
    i += length;
  }
  return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchDir files(vrellix::fuzz::ScratchBase());
  const std::string input = files.File("input.csv");
  const std::string first = files.File("first.csv");
  const std::string second = files.File("second.csv");
  Require(WriteBytes(input, std::string_view(reinterpret_cast<const char*>(data), size)), "cannot write " + input);

  EditedAlbum loaded;
  if (!vrellix::LoadAlbumCsv(input, loaded).Ok()) return 0;

  const vrellix::AlbumFileResult saved = vrellix::SaveAlbumCsv(first, loaded);
  Require(saved.Ok(), "a loaded album does not save: " + vrellix::AlbumFileMessage(saved) + " " + Describe(loaded));

  EditedAlbum reloaded;
  const vrellix::AlbumFileResult again = vrellix::LoadAlbumCsv(first, reloaded);
  Require(again.Ok(), "a saved file does not load: " + vrellix::AlbumFileMessage(again) + " " + Escaped(ReadBytes(first)));
  const EditedAlbum expected = AsSaved(loaded);
  const std::string file = ReadBytes(first);
  if (!SameTexts(reloaded, expected)) {
    Require(IsAlsoUtf8(file) && HoldsUnenterable(file),
            "saved " + Describe(expected) + " loads back as " + Describe(reloaded) + " from " + Escaped(file));
    return 0;
  }

  Require(vrellix::SaveAlbumCsv(second, reloaded).Ok(), "a reloaded album does not save");
  Require(ReadBytes(first) == ReadBytes(second), "saving is not stable");
  return 0;
}
