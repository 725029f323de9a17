// The checks that text must pass before the device is touched.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "album/album.h"

namespace vrellix {

// What CheckInputString accepts.
enum class CheckMode {
  kGeneral,  // title, artist, track names: classes 1 to 11
  kReading,  // readings: hiragana class only
};

// True when every character of the code page 932 text can be entered in the mode.
bool CheckInputString(const std::string& cp932, CheckMode mode);

// How many characters of the code page 932 text the device cannot enter (a lead
// byte and the byte after it are one character). Decides how an album file that
// is valid both as UTF-8 and as code page 932 is read.
size_t CountUnenterable(std::string_view cp932);

// Why the device cannot take a character of a field.
enum class CharFaultReason { kNotInCodePage, kNotEnterable, kReadingNotHiragana };

struct CharFault {
  int index = 0;          // of the character in the text, from 0
  std::string character;  // UTF-8, with any marks that combine with it
  CharFaultReason reason = CharFaultReason::kNotEnterable;
  int start = 0;   // its first code point in the text, from 0
  int length = 1;  // in code points
};

// The check of one field while it is typed (UTF-8, as it stands).
struct FieldCheck {
  int count = 0;  // code page 932 bytes; for readings, characters (two bytes each, a half counted whole)
  int limit = 0;  // kFieldLimitBytes; for readings, half of it
  std::vector<CharFault> faults;  // every character the device cannot take, in order
};

// Checks text for a field of the mode. A character is a code point with the
// combining marks after it.
FieldCheck CheckFieldText(const std::string& utf8, CheckMode mode);

// The reason as the user reads it (UTF-8).
std::string CharFaultText(CharFaultReason reason);

// One fault the Start checks find in an album (UTF-8 texts).
struct StartFault {
  AlbumField place;     // the field at fault; a reading without a name: the name
  std::string message;  // the Start's message for it, ending in the field's label
  // The line under the message: the field and, for a character, its position
  // and why ("トラック3のよみの2文字目「ア」: …"); empty where the message says it all.
  std::string detail;
  std::string line;  // the fault in a list of faults: the detail, or a line of its own
};

// Every fault of the album in the Start checks' order: title, reading, artist,
// then each checked row's name and reading (trimmed) and a reading without a
// name; within a field its length, then each character the device cannot
// take. The first is the one the Start reports.
std::vector<StartFault> ListStartFaults(const EditedAlbum& edited);

// The faults of one row's texts (untrimmed; number from 1), as the Start finds
// them when the row is checked.
std::vector<StartFault> ListTrackFaults(int number, const std::string& name, const std::string& yomi);

struct StartCheckResult {
  enum class Outcome { kFault, kNothingToEnter, kReady };
  Outcome outcome = Outcome::kFault;
  std::string message;  // UTF-8; the first fault's message, or the nothing-to-enter message
  AlbumField place;     // kFault: the field at fault
  std::string detail;   // kFault: the first fault's detail
  std::vector<StartFault> faults;  // kFault: every fault, the first one first
  Album album;          // complete when kReady
};

// The Start button's checks (ListStartFaults), then whether anything is left to
// enter. Unchecked rows are emptied in the result's album.
StartCheckResult RunStartChecks(const EditedAlbum& edited);

// The track edit dialog's check of one row's texts as typed (UTF-8, untrimmed):
// nothing when they may be accepted, else the message to show.
std::optional<std::string> CheckTrackEdit(const std::string& name, const std::string& yomi);

}  // namespace vrellix
