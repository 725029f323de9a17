// A model of the ＲＺＴ's menus and character palette, driven one key at a time.
// It checks the key sequences that the entry job sends: every key that the
// device would not accept where it stands is recorded as a model error (and
// otherwise ignored), and the texts that the device ends up holding can be
// dumped for comparison with what was meant to be entered.
//
// Decisions where the device's rules leave room:
// - Menu cursors move down without limit; selecting an item that opens nothing
//   known is the error. Keys that a state has no use for are errors and change
//   nothing (except KEY_BACK in the playlist list, which the device ignores).
// - The track list has rows 0..49 (tracks 1..50); KEY_MENU_DOWN on row 49 is an
//   error and the cursor stays.
// - A field's text is a list of code page 932 characters, so KEY_ERASE removes
//   one character (one or two bytes); erasing an empty field does nothing.
// - The function column left of the grid holds, top to bottom: an unused cell,
//   SPACE, ERASE-CHARACTER (only while the field holds text) and WIDTH; without
//   ERASE-CHARACTER it has three cells and WIDTH moves up. The cursor keeps its
//   cell when the column changes shape; if it was on ERASE-CHARACTER when that
//   cell went away, it lands on WIDTH, which took its place.
// - KEY_PAL_UP/DOWN move within the function column and stop at its ends;
//   KEY_PAL_LEFT there does nothing. A width toggle or a space leaves the cursor
//   on its function cell.
// - The kana cycle of KEY_0 has eight presses on every kana page; presses 6 and
//   7 (。 、) hold nothing on the katakana page, and committing them is an error.
// - KEY_FINISH with a character pending records the error, drops the pending
//   character and still closes the field.
// - The voiced marks apply to the kana of the layout's voiced table only
//   (か..こ さ..そ た..と は..ほ and their katakana); ウ takes no mark.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vrellix::sim {

constexpr int kTrackCount = 50;

enum class Screen {
  PlaylistList,
  PlaylistMenu,
  AlbumMenu,
  ArtistMenu,
  TrackList,
  TrackMenu,
  TrackInfoMenu,
  Field,
};

enum class FieldId { Title, Yomi, Artist, TrackName, TrackYomi };

enum class FunctionCell { Unused, Space, EraseCharacter, Width };

struct ModelError {
  int keyIndex;         // the key's number among the keys the device received, from 1
  std::string state;    // where the device stood when the key arrived
  std::string message;  // what was wrong with the key there
};

// Where the palette of the open field stands.
struct PaletteState {
  int page = 0;  // 0..5
  bool halfWidth = false;
  bool onGrid = true;
  int cell = 0;  // grid cell when onGrid
  FunctionCell functionCell = FunctionCell::Unused;  // when not onGrid
  int pendingDigit = -1;  // digit key of the character being tapped, -1 for none
  int pendingPresses = 0;
};

class DeviceModel {
 public:
  // Every field starts holding oldText (code page 932 bytes).
  explicit DeviceModel(const std::string& oldText = "OLD");

  // One key that the device received (a code from keys/keys.h).
  void Press(int key);

  Screen CurrentScreen() const { return m_screen; }
  int MenuCursor() const { return m_cursor; }
  int TrackRow() const { return m_row; }  // the track list row, also in a track's menus and fields
  FieldId OpenField() const { return m_field; }  // meaningful while CurrentScreen() is Field
  const PaletteState& Palette() const { return m_palette; }
  int KeysReceived() const { return m_keys; }
  const std::vector<ModelError>& Errors() const { return m_errors; }

  // A field's text in code page 932; track is the row 0..49 for track fields.
  std::string Text(FieldId field, int track = 0) const;
  // True once either of the track's fields has been opened.
  bool TrackOpened(int track) const { return m_tracks[track].nameOpens + m_tracks[track].yomiOpens > 0; }
  // How many times a field has been opened; track is the row for track fields.
  int OpenCount(FieldId field, int track = 0) const;

  // What the user does with the remote after a job stopped half-way: a
  // character still being tapped is dropped, an open field is closed with the
  // text it holds, and the menus are left back to the playlist list. The
  // user's presses are not counted among the keys received and make no model
  // errors, so both still describe the jobs' keys alone.
  void ReturnToPlaylistList();

  // Where the device stands, in words ("track list, track 3").
  std::string Describe() const;

  // The device's texts and the model errors, one line each:
  //   title <text> / yomi <text> / artist <text> /
  //   track <n> name <text> / track <n> yomi <text> (only tracks that were opened) /
  //   error <key index> <state>: <message>
  // Texts in UTF-8; bytes that do not decode are written in \xNN form.
  std::string Dump() const;

 private:
  using CharList = std::vector<std::string>;
  struct Track {
    CharList name;
    CharList yomi;
    int nameOpens = 0;
    int yomiOpens = 0;
  };

  void PressInMenu(int key);
  void PressInField(int key);
  void OpenFieldFrom(FieldId field);
  void CloseField();
  void Error(int key, const std::string& message);

  void PressDigit(int digit);
  void CommitPending(int key);
  void ApplyMark(int key, bool semiVoiced);
  void MoveCursor(int key);
  void Enter(int key);
  void Append(std::uint16_t code);

  std::vector<FunctionCell> FunctionColumn() const;
  CharList& FieldText();
  const CharList& FieldText() const;
  const CharList& TextOf(FieldId field, int track) const;

  Screen m_screen = Screen::PlaylistList;
  int m_cursor = 0;
  int m_row = 0;
  FieldId m_field = FieldId::Title;
  Screen m_fieldOpener = Screen::AlbumMenu;
  PaletteState m_palette;
  int m_keys = 0;
  std::vector<ModelError> m_errors;

  CharList m_title;
  CharList m_yomi;
  CharList m_artist;
  std::array<int, 3> m_headerOpens{};  // title, yomi, artist
  std::array<Track, kTrackCount> m_tracks;
};

}  // namespace vrellix::sim
