#include "sim/device_model.h"

#include <algorithm>

#include "entry/palette_pages.h"
#include "keys/keys.h"
#include "sim/palette_layout.h"
#include "text/text_codec.h"

namespace vrellix::sim {
namespace {

bool IsDigitKey(int key) { return key >= KEY_0 && key <= KEY_9; }

const char* FunctionCellName(FunctionCell cell) {
  switch (cell) {
    case FunctionCell::Unused: return "the unused cell";
    case FunctionCell::Space: return "SPACE";
    case FunctionCell::EraseCharacter: return "ERASE-CHARACTER";
    case FunctionCell::Width: return "WIDTH";
  }
  return "?";
}

std::string Join(const std::vector<std::string>& chars) {
  std::string out;
  for (const std::string& c : chars) out += c;
  return out;
}

}  // namespace

DeviceModel::DeviceModel(const std::string& oldText) {
  const CharList old = SplitCp932(oldText);
  m_title = m_yomi = m_artist = old;
  for (Track& t : m_tracks) t.name = t.yomi = old;
}

void DeviceModel::Press(int key) {
  ++m_keys;
  if (m_screen == Screen::Field) {
    PressInField(key);
  } else {
    PressInMenu(key);
  }
}

void DeviceModel::Error(int key, const std::string& message) {
  m_errors.push_back({m_keys, Describe(), KeyName(key) + " " + message});
}

void DeviceModel::PressInMenu(int key) {
  if (key == KEY_MENU_DOWN && m_screen != Screen::PlaylistList) {
    if (m_screen != Screen::TrackList) {
      ++m_cursor;
    } else if (m_row + 1 < kTrackCount) {
      ++m_row;
    } else {
      Error(key, "past the last track");
    }
    return;
  }
  if (key == KEY_BACK) {
    switch (m_screen) {
      case Screen::PlaylistList:
        break;  // the device ignores it there
      case Screen::TrackMenu:
      case Screen::TrackInfoMenu:
        m_screen = Screen::TrackList;  // on the same row
        break;
      default:
        m_screen = Screen::PlaylistList;
        break;
    }
    m_cursor = 0;
    return;
  }
  if (key != KEY_SELECT) {
    Error(key, "has no use here");
    return;
  }
  const int item = m_cursor;
  auto openMenu = [this](Screen screen) {
    m_screen = screen;
    m_cursor = 0;
  };
  switch (m_screen) {
    case Screen::PlaylistList:
      openMenu(Screen::PlaylistMenu);
      return;
    case Screen::PlaylistMenu:
      if (item == 1) {
        openMenu(Screen::TrackList);
        m_row = 0;
        return;
      }
      if (item == 2) return openMenu(Screen::AlbumMenu);
      break;
    case Screen::AlbumMenu:
      if (item == 0) return OpenFieldFrom(FieldId::Title);
      if (item == 1) return OpenFieldFrom(FieldId::Yomi);
      if (item == 2) return openMenu(Screen::ArtistMenu);
      break;
    case Screen::ArtistMenu:
      if (item == 0) return OpenFieldFrom(FieldId::Artist);
      break;
    case Screen::TrackList:
      return openMenu(Screen::TrackMenu);
    case Screen::TrackMenu:
      if (item == 1) return openMenu(Screen::TrackInfoMenu);
      break;
    case Screen::TrackInfoMenu:
      if (item == 0) return OpenFieldFrom(FieldId::TrackName);
      if (item == 1) return OpenFieldFrom(FieldId::TrackYomi);
      break;
    case Screen::Field:
      break;
  }
  Error(key, "on an item that opens nothing");
}

void DeviceModel::OpenFieldFrom(FieldId field) {
  m_fieldOpener = m_screen;
  m_screen = Screen::Field;
  m_field = field;
  m_palette = PaletteState{};
  switch (field) {
    case FieldId::Title: ++m_headerOpens[0]; break;
    case FieldId::Yomi: ++m_headerOpens[1]; break;
    case FieldId::Artist: ++m_headerOpens[2]; break;
    case FieldId::TrackName: ++m_tracks[m_row].nameOpens; break;
    case FieldId::TrackYomi: ++m_tracks[m_row].yomiOpens; break;
  }
}

int DeviceModel::OpenCount(FieldId field, int track) const {
  switch (field) {
    case FieldId::Title: return m_headerOpens[0];
    case FieldId::Yomi: return m_headerOpens[1];
    case FieldId::Artist: return m_headerOpens[2];
    case FieldId::TrackName: return m_tracks[track].nameOpens;
    case FieldId::TrackYomi: return m_tracks[track].yomiOpens;
  }
  return 0;
}

void DeviceModel::ReturnToPlaylistList() {
  if (m_screen == Screen::Field) CloseField();  // also drops a pending character
  m_screen = Screen::PlaylistList;
  m_cursor = 0;
}

void DeviceModel::CloseField() {
  m_screen = m_fieldOpener;
  m_cursor = 0;
  m_palette = PaletteState{};
}

void DeviceModel::PressInField(int key) {
  PaletteState& p = m_palette;
  if (p.pendingDigit >= 0) {
    if (key == p.pendingDigit) {
      const int length = p.page == kLetterPage
                             ? static_cast<int>(std::char_traits<char>::length(LetterCycleOf(key)))
                             : KanaCycleOf(key).length;
      p.pendingPresses = p.pendingPresses % length + 1;
    } else if (IsDigitKey(key)) {
      CommitPending(key);
      PressDigit(key);
    } else if (key == KEY_NEXT) {
      CommitPending(key);
    } else if (key == KEY_FINISH) {
      Error(key, "while a character is pending; the character is lost");
      CloseField();
    } else {
      Error(key, "while a character is pending");
    }
    return;
  }

  if (IsDigitKey(key)) {
    PressDigit(key);
    return;
  }
  switch (key) {
    case KEY_NEXT:
      Error(key, "with no character pending");
      return;
    case KEY_FINISH:
      CloseField();
      return;
    case KEY_PALLET:
      p.page = (p.page + 1) % kPalletPageCount;
      p.onGrid = true;
      p.cell = 0;
      return;
    case KEY_ERASE: {
      CharList& text = FieldText();
      if (!text.empty()) text.pop_back();
      // ERASE-CHARACTER leaves the column with the last character; WIDTH takes its place.
      if (text.empty() && !p.onGrid && p.functionCell == FunctionCell::EraseCharacter) {
        p.functionCell = FunctionCell::Width;
      }
      return;
    }
    case KEY_PAL_UP:
    case KEY_PAL_DOWN:
    case KEY_PAL_LEFT:
    case KEY_PAL_RIGHT:
      MoveCursor(key);
      return;
    case KEY_PAL_ENTER:
      Enter(key);
      return;
    default:
      Error(key, "has no use in a field");
      return;
  }
}

void DeviceModel::PressDigit(int digit) {
  PaletteState& p = m_palette;
  switch (p.page) {
    case kHiraganaPage:
    case kKatakanaPage:
      p.pendingDigit = digit;
      p.pendingPresses = 1;
      return;
    case kLetterPage:
      if (*LetterCycleOf(digit) == '\0') {
        Error(digit, "holds no letters");
        return;
      }
      p.pendingDigit = digit;
      p.pendingPresses = 1;
      return;
    case kDigitPage:
      Append(DigitChar(digit, p.halfWidth));
      return;
    default:
      Error(digit, "on a page without characters for it");
      return;
  }
}

void DeviceModel::CommitPending(int key) {
  PaletteState& p = m_palette;
  const int digit = p.pendingDigit;
  const int index = p.pendingPresses - 1;
  if (p.page == kLetterPage) {
    const char letter = LetterCycleOf(digit)[index];
    Append(p.halfWidth ? static_cast<std::uint16_t>(letter) : FullWidthLetter(letter));
  } else {
    const KanaCell& cell = KanaCycleOf(digit).cells[index];
    const std::uint16_t code = p.page == kHiraganaPage ? cell.hiragana
                               : p.halfWidth           ? cell.halfKatakana
                                                       : cell.fullKatakana;
    if (code == kVoicedMark || code == kSemiVoicedMark) {
      ApplyMark(key, code == kSemiVoicedMark);
    } else if (code == kNoChar) {
      Error(key, "commits " + KeyName(digit) + " x " + std::to_string(index + 1) +
                     ", which holds no character on this page");
    } else {
      Append(code);
    }
  }
  // Cleared only now so that an error above still shows the pending character.
  p.pendingDigit = -1;
  p.pendingPresses = 0;
}

void DeviceModel::ApplyMark(int key, bool semiVoiced) {
  CharList& text = FieldText();
  const char* mark = semiVoiced ? "semi-voiced mark" : "voiced mark";
  if (text.empty()) {
    Error(key, std::string("commits a ") + mark + " with no character before it");
    return;
  }
  const std::uint16_t base = CharCode(text.back());
  const std::uint16_t marked = semiVoiced ? SemiVoicedForm(base) : VoicedForm(base);
  if (marked == kNoChar) {
    Error(key, std::string("commits a ") + mark + " after " + HexEscaped(text.back()) + ", which takes none");
    return;
  }
  text.back() = CharBytes(marked);
}

std::vector<FunctionCell> DeviceModel::FunctionColumn() const {
  std::vector<FunctionCell> column{FunctionCell::Unused, FunctionCell::Space};
  if (!FieldText().empty()) column.push_back(FunctionCell::EraseCharacter);
  column.push_back(FunctionCell::Width);
  return column;
}

void DeviceModel::MoveCursor(int key) {
  PaletteState& p = m_palette;
  if (!p.onGrid) {
    const std::vector<FunctionCell> column = FunctionColumn();
    const int last = static_cast<int>(column.size()) - 1;
    const int i = std::min(
        static_cast<int>(std::find(column.begin(), column.end(), p.functionCell) - column.begin()), last);
    if (key == KEY_PAL_UP) {
      p.functionCell = column[std::max(i - 1, 0)];
    } else if (key == KEY_PAL_DOWN) {
      p.functionCell = column[std::min(i + 1, last)];
    } else if (key == KEY_PAL_RIGHT) {
      const int row = std::min(i, kGridRows - 1);
      p.onGrid = true;
      p.cell = row * kGridColumns + (row == kGridRows - 1 ? 1 : 0);
    }
    return;  // KEY_PAL_LEFT: the column is the left edge
  }

  const int row = p.cell / kGridColumns;
  const int column = p.cell % kGridColumns;
  const int firstColumn = row == kGridRows - 1 ? 1 : 0;
  switch (key) {
    case KEY_PAL_UP:
      if (row > 0) p.cell -= kGridColumns;
      return;
    case KEY_PAL_DOWN:
      if (row == kGridRows - 1) return;
      if (p.cell + kGridColumns == kMissingCell) {
        Error(key, "into the missing cell 24");
        return;
      }
      p.cell += kGridColumns;
      return;
    case KEY_PAL_LEFT:
      if (column > firstColumn) {
        --p.cell;
        return;
      }
      {
        const std::vector<FunctionCell> cells = FunctionColumn();
        p.onGrid = false;
        p.functionCell = cells[std::min<std::size_t>(row, cells.size() - 1)];
      }
      return;
    case KEY_PAL_RIGHT:
      if (column < kGridColumns - 1) ++p.cell;
      return;
  }
}

void DeviceModel::Enter(int key) {
  PaletteState& p = m_palette;
  if (p.onGrid) {
    if (p.page == kSymbolPage) {
      Append(SymbolChar(p.cell, p.halfWidth));
    } else {
      Error(key, "on the grid of a page without symbols");
    }
    return;
  }
  switch (p.functionCell) {
    case FunctionCell::Space:
      Append(p.page == kHiraganaPage || !p.halfWidth ? kFullWidthSpace : kHalfWidthSpace);
      return;
    case FunctionCell::Width:
      if (p.page == kHiraganaPage) {
        Error(key, "on WIDTH on the hiragana page");
      } else {
        p.halfWidth = !p.halfWidth;
      }
      return;
    default:
      Error(key, std::string("on ") + FunctionCellName(p.functionCell));
      return;
  }
}

void DeviceModel::Append(std::uint16_t code) { FieldText().push_back(CharBytes(code)); }

DeviceModel::CharList& DeviceModel::FieldText() {
  return const_cast<CharList&>(static_cast<const DeviceModel*>(this)->FieldText());
}

const DeviceModel::CharList& DeviceModel::FieldText() const { return TextOf(m_field, m_row); }

const DeviceModel::CharList& DeviceModel::TextOf(FieldId field, int track) const {
  switch (field) {
    case FieldId::Title: return m_title;
    case FieldId::Yomi: return m_yomi;
    case FieldId::Artist: return m_artist;
    case FieldId::TrackName: return m_tracks[track].name;
    case FieldId::TrackYomi: return m_tracks[track].yomi;
  }
  return m_title;
}

std::string DeviceModel::Text(FieldId field, int track) const { return Join(TextOf(field, track)); }

std::string DeviceModel::Describe() const {
  const std::string track = "track " + std::to_string(m_row + 1);
  const std::string item = ", item " + std::to_string(m_cursor);
  switch (m_screen) {
    case Screen::PlaylistList: return "playlist list";
    case Screen::PlaylistMenu: return "playlist menu" + item;
    case Screen::AlbumMenu: return "album menu" + item;
    case Screen::ArtistMenu: return "artist menu" + item;
    case Screen::TrackList: return "track list, " + track;
    case Screen::TrackMenu: return track + " menu" + item;
    case Screen::TrackInfoMenu: return track + " info menu" + item;
    case Screen::Field: break;
  }
  std::string out;
  switch (m_field) {
    case FieldId::Title: out = "title field"; break;
    case FieldId::Yomi: out = "yomi field"; break;
    case FieldId::Artist: out = "artist field"; break;
    case FieldId::TrackName: out = track + " name field"; break;
    case FieldId::TrackYomi: out = track + " yomi field"; break;
  }
  const PaletteState& p = m_palette;
  out += ", page " + std::to_string(p.page) + (p.halfWidth ? ", half width" : ", full width");
  out += p.onGrid ? ", cell " + std::to_string(p.cell) : std::string(", ") + FunctionCellName(p.functionCell);
  if (p.pendingDigit >= 0) {
    out += ", " + KeyName(p.pendingDigit) + " x " + std::to_string(p.pendingPresses) + " pending";
  }
  return out;
}

std::string DeviceModel::Dump() const {
  auto text = [](const CharList& chars) { return Cp932ToUtf8OrHex(Join(chars)); };
  std::string out;
  out += "title " + text(m_title) + "\n";
  out += "yomi " + text(m_yomi) + "\n";
  out += "artist " + text(m_artist) + "\n";
  for (int i = 0; i < kTrackCount; ++i) {
    if (!TrackOpened(i)) continue;
    const std::string n = std::to_string(i + 1);
    out += "track " + n + " name " + text(m_tracks[i].name) + "\n";
    out += "track " + n + " yomi " + text(m_tracks[i].yomi) + "\n";
  }
  for (const ModelError& e : m_errors) {
    out += "error " + std::to_string(e.keyIndex) + " " + e.state + ": " + e.message + "\n";
  }
  return out;
}

}  // namespace vrellix::sim
