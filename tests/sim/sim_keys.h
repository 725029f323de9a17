// Key sequences for driving the simulated device in tests, built from its menu
// and palette rules (not from the entry engine).
#pragma once

#include <string>
#include <vector>

#include "keys/keys.h"

namespace vrellix::testing {

using Keys = std::vector<int>;

inline Keys operator+(Keys a, const Keys& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

inline Keys Times(int count, int key) { return Keys(static_cast<std::size_t>(count), key); }

// From the playlist list.
inline Keys OpenAlbumMenu() { return {KEY_SELECT, KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT}; }
inline Keys OpenTitle() { return OpenAlbumMenu() + Keys{KEY_SELECT}; }
inline Keys OpenYomi() { return OpenAlbumMenu() + Keys{KEY_MENU_DOWN, KEY_SELECT}; }
inline Keys OpenArtist() { return OpenAlbumMenu() + Keys{KEY_MENU_DOWN, KEY_MENU_DOWN, KEY_SELECT, KEY_SELECT}; }
inline Keys OpenTrackList() { return {KEY_SELECT, KEY_MENU_DOWN, KEY_SELECT}; }
// From the track list on row 0.
inline Keys OpenTrackName(int row) {
  return Times(row, KEY_MENU_DOWN) + Keys{KEY_SELECT, KEY_MENU_DOWN, KEY_SELECT, KEY_SELECT};
}

// Inside a field: from anywhere to the top of the function column.
inline Keys ToFunctionTop() { return Times(13, KEY_PAL_LEFT) + Times(4, KEY_PAL_UP); }
inline Keys ToggleWidth(bool fieldHasText) {
  return ToFunctionTop() + Times(fieldHasText ? 3 : 2, KEY_PAL_DOWN) + Keys{KEY_PAL_ENTER};
}
inline Keys Space() { return ToFunctionTop() + Keys{KEY_PAL_DOWN, KEY_PAL_ENTER}; }

}  // namespace vrellix::testing
