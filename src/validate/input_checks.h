// The checks that text must pass before the device is touched.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "album/album.h"

namespace vrellix {

constexpr int CHECK_GENERAL = 0;  // title, artist, track names: classes 1 to 11
constexpr int CHECK_READING = 1;  // readings: hiragana class only

// True when every character of the code page 932 text can be entered in the mode.
bool CheckInputString(const std::string& cp932, int mode);

// How many characters of the code page 932 text the device cannot enter (a lead
// byte and the byte after it are one character). Decides how an album file that
// is valid both as UTF-8 and as code page 932 is read.
size_t CountUnenterable(std::string_view cp932);

struct StartCheckResult {
  enum Outcome { kFault, kNothingToEnter, kReady };
  Outcome outcome = kFault;
  std::string message;  // UTF-8; the first fault's message, or the nothing-to-enter message
  Album album;          // complete when kReady
};

// The Start button's checks, in order: title, reading, artist, then every
// checked row. Unchecked rows are emptied in the result's album.
StartCheckResult RunStartChecks(const EditedAlbum& edited);

// The track edit dialog's check of one row's texts as typed (UTF-8, untrimmed):
// nothing when they may be accepted, else the message to show.
std::optional<std::string> CheckTrackEdit(const std::string& name, const std::string& yomi);

}  // namespace vrellix
