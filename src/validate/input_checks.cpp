#include "validate/input_checks.h"

#include <optional>
#include <tuple>

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
std::optional<std::string> EnterableText(const std::string& utf8, CheckMode mode) {
  std::optional<std::string> cp932 = Utf8ToCp932(utf8);
  if (!cp932 || !CheckInputString(*cp932, mode)) return std::nullopt;
  return cp932;
}

bool IsCombiningMark(char32_t c) {
  return (c >= 0x0300 && c <= 0x036F) || (c >= 0x3099 && c <= 0x309A) || (c >= 0x20D0 && c <= 0x20FF) ||
         (c >= 0xFE20 && c <= 0xFE2F);
}

struct FieldFault {
  std::string message;
  std::string detail;
};

// Length first, then characters; the label names the field in the message,
// the detail says which field and character, and why.
std::optional<FieldFault> CheckField(const std::string& utf8, CheckMode mode, const std::string& label,
                                     const AlbumField& place, std::string& cp932Out) {
  const bool reading = mode == CheckMode::kReading;
  if (TooLong(utf8)) {
    const FieldCheck check = CheckFieldText(utf8, mode);
    return FieldFault{(reading ? kReadingTooLong : kHalfWidthTooLong) + label,
                      messages::FieldTooLongLine(FieldName(place), check.count, check.limit, reading)};
  }
  std::optional<std::string> cp932 = EnterableText(utf8, mode);
  if (!cp932) {
    FieldFault fault{kBadCharacter + label, {}};
    const FieldCheck check = CheckFieldText(utf8, mode);
    if (!check.faults.empty()) {
      const CharFault& first = check.faults.front();
      fault.detail = FieldName(place) + "の" +
                     messages::CharFaultLine(first.index + 1, first.character, CharFaultText(first.reason));
    }
    return fault;
  }
  cp932Out = std::move(*cp932);
  return std::nullopt;
}

StartCheckResult Fault(const FieldFault& fault, const AlbumField& place) {
  StartCheckResult result;
  result.outcome = StartCheckResult::Outcome::kFault;
  result.message = fault.message;
  result.detail = fault.detail;
  result.place = place;
  return result;
}

}  // namespace

std::string CharFaultText(CharFaultReason reason) {
  switch (reason) {
    case CharFaultReason::kNotInCodePage: return messages::kFaultNotInCodePage;
    case CharFaultReason::kNotEnterable: return messages::kFaultNotEnterable;
    case CharFaultReason::kReadingNotHiragana: return messages::kFaultReadingNotHiragana;
  }
  return {};
}

FieldCheck CheckFieldText(const std::string& utf8, CheckMode mode) {
  FieldCheck check;
  const bool reading = mode == CheckMode::kReading;
  const int bytes = static_cast<int>(Cp932LengthOf(utf8));
  check.count = reading ? (bytes + 1) / 2 : bytes;
  check.limit = reading ? kFieldLimitBytes / 2 : kFieldLimitBytes;
  if (!IsValidUtf8(utf8)) return check;
  const std::u32string points = Utf8ToCodePoints(utf8);
  int index = 0;
  for (std::size_t p = 0; p < points.size(); ++index) {
    std::size_t end = p + 1;
    while (end < points.size() && IsCombiningMark(points[end])) ++end;
    const std::string character = CodePointsToUtf8(points.substr(p, end - p));
    const int start = static_cast<int>(p);
    const int length = static_cast<int>(end - p);
    p = end;
    const std::optional<std::string> cp932 = Utf8ToCp932(character);
    if (!cp932) {
      check.faults.push_back({index, character, CharFaultReason::kNotInCodePage, start, length});
    } else if (!CheckInputString(*cp932, mode)) {
      // A reading takes hiragana only; anything else the device has no way to enter.
      const bool enterable = CheckInputString(*cp932, CheckMode::kGeneral);
      check.faults.push_back(
          {index, character, reading && enterable ? CharFaultReason::kReadingNotHiragana : CharFaultReason::kNotEnterable,
           start, length});
    }
  }
  return check;
}

bool CheckInputString(const std::string& cp932, CheckMode mode) {
  size_t p = 0;
  while (p < cp932.size()) {
    const std::string piece = cp932.substr(p, 2);
    // A class whose routine cannot enter this code counts as no class.
    if (!CanEnterCharacter(piece)) return false;
    const int charClass = GetCharClass(piece);
    if (mode == CheckMode::kReading) {
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
  using Kind = AlbumField::Kind;
  for (const auto& [text, mode, label, kind, out] :
       {std::tuple{&edited.title, CheckMode::kGeneral, messages::kTitleLabel, Kind::kTitle, &album.Title},
        std::tuple{&edited.yomi, CheckMode::kReading, messages::kYomiLabel, Kind::kYomi, &album.Yomi},
        std::tuple{&edited.artist, CheckMode::kGeneral, messages::kArtistLabel, Kind::kArtist, &album.Artist}}) {
    const AlbumField place{kind, 0};
    if (auto fault = CheckField(*text, mode, label, place, *out)) return Fault(*fault, place);
  }

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
    const AlbumField namePlace{Kind::kTrackName, r + 1};
    const AlbumField yomiPlace{Kind::kTrackYomi, r + 1};
    if (auto fault = CheckField(name, CheckMode::kGeneral, label, namePlace, track.Name)) {
      return Fault(*fault, namePlace);
    }
    if (!name.empty()) namedTrack = true;

    const std::string reading = TrimWhite(row.yomi);
    std::string readingCp932;
    if (auto fault = CheckField(reading, CheckMode::kReading, label + messages::kYomiLabel, yomiPlace, readingCp932)) {
      return Fault(*fault, yomiPlace);
    }
    if (name.empty() && !reading.empty()) return Fault({messages::kReadingWithoutName + label, {}}, namePlace);
    track.Yomi = std::move(readingCp932);
  }

  if (album.Title.empty() && album.Yomi.empty() && album.Artist.empty() && !namedTrack) {
    result.outcome = StartCheckResult::Outcome::kNothingToEnter;
    result.message = messages::kNothingToEnter;
    return result;
  }
  result.outcome = StartCheckResult::Outcome::kReady;
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
