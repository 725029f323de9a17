// Albums as the window holds them, built up field by field for table-driven tests.
#pragma once

#include <cstddef>
#include <string>
#include <utility>

#include "album/album.h"

namespace vrellix::testing {

inline EditedAlbum AlbumWith(std::string title, std::string yomi, std::string artist) {
  EditedAlbum album;
  album.title = std::move(title);
  album.yomi = std::move(yomi);
  album.artist = std::move(artist);
  return album;
}

// Track number (from 1) set to name and reading, ticked unless told otherwise.
inline EditedAlbum WithRow(EditedAlbum album, int number, std::string name, std::string yomi, bool checked = true) {
  album.rows[static_cast<std::size_t>(number - 1)] = {std::move(name), std::move(yomi), checked};
  return album;
}

// piece, times times over: texts of a given length.
inline std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

}  // namespace vrellix::testing
