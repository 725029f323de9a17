#include "validate/input_checks.h"

#include <optional>

#include "entry/char_class.h"
#include "messages/messages.h"
#include "text/text_codec.h"
#include "text/trim.h"

namespace vrellix {
namespace {

using messages::kBadCharacter;
using messages::kHalfWidthTooLong;
using messages::kReadingTooLong;

bool TooLong(const std::string& utf8) { return Cp932LengthOf(utf8) > static_cast<size_t>(kFieldLimitBytes); }

// The field's code page 932 bytes when every character can be entered in the mode.
std::optional<std::string> EnterableText(const std::string& utf8, int mode) {
  std::optional<std::string> cp932 = Utf8ToCp932(utf8);
  if (!cp932 || !CheckInputString(*cp932, mode)) return std::nullopt;
  return cp932;
}

// Length first, then characters; the label names the field in the message.
std::optional<std::string> CheckField(const std::string& utf8, int mode, const std::string& label,
                                      std::string& cp932Out) {
  if (TooLong(utf8)) return (mode == CHECK_READING ? kReadingTooLong : kHalfWidthTooLong) + label;
  std::optional<std::string> cp932 = EnterableText(utf8, mode);
  if (!cp932) return kBadCharacter + label;
  cp932Out = std::move(*cp932);
  return std::nullopt;
}

StartCheckResult Fault(std::string message) {
  StartCheckResult result;
  result.outcome = StartCheckResult::kFault;
  result.message = std::move(message);
  return result;
}

}  // namespace

bool CheckInputString(const std::string& cp932, int mode) {
  size_t p = 0;
  while (p < cp932.size()) {
    const std::string piece = cp932.substr(p, 2);
    // A class whose routine cannot enter this code counts as no class.
    if (!CanEnterCharacter(piece)) return false;
    const int charClass = GetCharClass(piece);
    if (mode == CHECK_READING) {
      if (charClass != CHARCLASS_HIRAGANA) return false;
      p += 2;
    } else {
      p += IsTwoByteClass(charClass) ? 2 : 1;
    }
  }
  return true;
}

size_t CountUnenterable(std::string_view cp932) {
  size_t count = 0;
  for (size_t p = 0; p < cp932.size();) {
    const unsigned char c = static_cast<unsigned char>(cp932[p]);
    const size_t length = IsCp932LeadByte(c) ? 2 : 1;
    if (!CanEnterCharacter(std::string(cp932.substr(p, length)))) ++count;
    p += length;
  }
  return count;
}

StartCheckResult RunStartChecks(const EditedAlbum& edited) {
  StartCheckResult result;
  Album& album = result.album;

  // The album's own texts are checked as typed, not trimmed.
  if (auto fault = CheckField(edited.title, CHECK_GENERAL, messages::kTitleLabel, album.Title)) return Fault(*fault);
  if (auto fault = CheckField(edited.yomi, CHECK_READING, messages::kYomiLabel, album.Yomi)) return Fault(*fault);
  if (auto fault = CheckField(edited.artist, CHECK_GENERAL, messages::kArtistLabel, album.Artist)) return Fault(*fault);

  bool namedTrack = false;
  for (int r = 0; r < kTrackCount; ++r) {
    const EditedRow& row = edited.rows[static_cast<size_t>(r)];
    AlbumTrack& track = album.Tracks[static_cast<size_t>(r)];
    if (!row.checked) {
      track = AlbumTrack();
      continue;
    }
    const std::string label = messages::TrackLabel(r + 1);
    const std::string name = TrimWhite(row.name);
    if (auto fault = CheckField(name, CHECK_GENERAL, label, track.Name)) return Fault(*fault);
    if (!name.empty()) namedTrack = true;

    const std::string reading = TrimWhite(row.yomi);
    std::string readingCp932;
    if (auto fault = CheckField(reading, CHECK_READING, label + messages::kYomiLabel, readingCp932)) {
      return Fault(*fault);
    }
    if (name.empty() && !reading.empty()) return Fault(messages::kReadingWithoutName + label);
    track.Yomi = std::move(readingCp932);
  }

  if (album.Title.empty() && album.Yomi.empty() && album.Artist.empty() && !namedTrack) {
    result.outcome = StartCheckResult::kNothingToEnter;
    result.message = messages::kNothingToEnter;
    return result;
  }
  result.outcome = StartCheckResult::kReady;
  return result;
}

std::optional<std::string> CheckTrackEdit(const std::string& name, const std::string& yomi) {
  const std::string trimmedName = TrimWhite(name);
  const std::string trimmedYomi = TrimWhite(yomi);
  if (TooLong(trimmedName)) return std::string(kHalfWidthTooLong) + messages::kTrackNameLabel;
  if (TooLong(trimmedYomi)) return std::string(kHalfWidthTooLong) + messages::kYomiLabel;
  if (trimmedName.empty() && !trimmedYomi.empty()) return std::string(messages::kOnlyReadingTyped);
  return std::nullopt;
}

}  // namespace vrellix
