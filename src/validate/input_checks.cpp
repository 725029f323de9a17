#include "validate/input_checks.h"

#include <optional>
#include <utility>

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

// Length first, then each character; the label names the field in the message.
void AddFieldFaults(const std::string& utf8, CheckMode mode, const std::string& label, const AlbumField& place,
                    std::vector<StartFault>& faults) {
  const bool reading = mode == CheckMode::kReading;
  const std::string name = FieldName(place);
  const FieldCheck check = CheckFieldText(utf8, mode);
  if (TooLong(utf8)) {
    const std::string line = messages::FieldTooLongLine(name, check.count, check.limit, reading);
    faults.push_back({place, (reading ? kReadingTooLong : kHalfWidthTooLong) + label, line, line});
  }
  if (EnterableText(utf8, mode)) return;
  const std::string message = kBadCharacter + label;
  // Text that is not UTF-8 has no characters to name.
  if (check.faults.empty()) faults.push_back({place, message, {}, name + ": " + messages::kFaultNotInCodePage});
  for (const CharFault& fault : check.faults) {
    const std::string line =
        name + "の" + messages::CharFaultLine(fault.index + 1, fault.character, CharFaultText(fault.reason));
    faults.push_back({place, message, line, line});
  }
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

std::vector<StartFault> ListTrackFaults(int number, const std::string& name, const std::string& yomi) {
  std::vector<StartFault> faults;
  const std::string label = messages::TrackLabel(number);
  const AlbumField namePlace{AlbumField::Kind::kTrackName, number};
  const std::string trimmedName = TrimWhite(name);
  const std::string trimmedYomi = TrimWhite(yomi);
  AddFieldFaults(trimmedName, CheckMode::kGeneral, label, namePlace, faults);
  AddFieldFaults(trimmedYomi, CheckMode::kReading, label + messages::kYomiLabel, {AlbumField::Kind::kTrackYomi, number}, faults);
  if (trimmedName.empty() && !trimmedYomi.empty()) {
    faults.push_back({namePlace, messages::kReadingWithoutName + label, {}, messages::ReadingWithoutNameLine(number)});
  }
  return faults;
}

std::vector<StartFault> ListStartFaults(const EditedAlbum& edited) {
  std::vector<StartFault> faults;
  // The album's own texts are checked as typed, not trimmed.
  AddFieldFaults(edited.title, CheckMode::kGeneral, messages::kTitleLabel, {AlbumField::Kind::kTitle, 0}, faults);
  AddFieldFaults(edited.yomi, CheckMode::kReading, messages::kYomiLabel, {AlbumField::Kind::kYomi, 0}, faults);
  AddFieldFaults(edited.artist, CheckMode::kGeneral, messages::kArtistLabel, {AlbumField::Kind::kArtist, 0}, faults);
  for (int r = 0; r < kTrackCount; ++r) {
    const EditedRow& row = edited.rows[static_cast<size_t>(r)];
    if (!row.checked) continue;
    for (StartFault& fault : ListTrackFaults(r + 1, row.name, row.yomi)) faults.push_back(std::move(fault));
  }
  return faults;
}

StartCheckResult RunStartChecks(const EditedAlbum& edited) {
  StartCheckResult result;
  result.faults = ListStartFaults(edited);
  if (!result.faults.empty()) {
    const StartFault& first = result.faults.front();
    result.outcome = StartCheckResult::Outcome::kFault;
    result.message = first.message;
    result.detail = first.detail;
    result.place = first.place;
    return result;
  }

  // Every text passed, so each converts.
  const auto cp932 = [](const std::string& utf8) { return Utf8ToCp932(utf8).value_or(std::string()); };
  Album& album = result.album;
  album.Title = cp932(edited.title);
  album.Yomi = cp932(edited.yomi);
  album.Artist = cp932(edited.artist);
  bool namedTrack = false;
  for (size_t r = 0; r < album.Tracks.size(); ++r) {
    const EditedRow& row = edited.rows[r];
    if (!row.checked) continue;
    album.Tracks[r] = {cp932(TrimWhite(row.name)), cp932(TrimWhite(row.yomi))};
    if (!album.Tracks[r].Name.empty()) namedTrack = true;
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
