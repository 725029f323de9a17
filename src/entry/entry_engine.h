// The character entry engine: the record of where the device's palette stands
// and the key sequences that move it and enter one character of each class.
#pragma once

#include <optional>
#include <string>

#include "keys/key_link.h"

namespace vrellix {

constexpr int kPageStepPauseMs = 50;

struct MultiTap;  // entry/entry_tables.h

class EntryEngine {
 public:
  explicit EntryEngine(KeyLink& link) : m_link(link) {}

  KeyLink& Link() { return m_link; }
  KeyResult PutCommand(int key) { return m_link.PutCommand(key); }
  // Sends key `times` times: 1 when every one was acknowledged, 0 at the first
  // that was not (nothing after it is sent).
  int PressKey(int key, int times);

  // Page, width, text and off-grid flags back to 0, as when a field opens.
  // m_nSymbolPos is left alone.
  void ResetEntryState();

  // Palette operations: 1 on success, 0 as soon as a key is not acknowledged
  // (the rest of the sequence is not sent). A page outside 0..5 or a mode
  // other than 0 or 1 is refused with 0 before anything is sent.
  int SetPalletPage(int page);  // KEY_PALLET per step, then kPageStepPauseMs
  int SetHZSwitch(int mode);    // 0 full width, 1 half width
  int SetSpace(int mode);       // 0 full-width space, 1 half-width space
  int ResetSymbolCursor();      // back from the function cells to symbol cell 0

  // One character each, from the start of piece: 1 entered, 0 not in the
  // routine's table (nothing sent) or a key not acknowledged. The symbol
  // routines also refuse, sending nothing, while the cursor is on the grid
  // and m_nSymbolPos names no cell of it.
  int HiraganaInputProcess(const std::string& piece);
  int ZKatakanaInputProcess(const std::string& piece);
  int HKatakanaInputProcess(const std::string& piece);
  int ZEiziInputProcess(const std::string& piece);
  int HEiziInputProcess(const std::string& piece);
  int ZSuhziInputProcess(const std::string& piece);
  int HSuhziInputProcess(const std::string& piece);
  int ZSymbolInputProcess(const std::string& piece);
  int HSymbolInputProcess(const std::string& piece);

  // The entry state: where the device's palette should be.
  int m_nPalletPage = 0;          // 0..5
  int m_nHZMode = 0;              // 0 full width, 1 half width
  bool m_bHasText = false;        // a character of the current field was entered
  int m_nSymbolPos = 0;           // symbol grid cell under the cursor (24 is no cell)
  bool m_bCursorOffGrid = false;  // a width switch or space left the character cells

 private:
  // The shared bodies of the routines; an empty lookup means "not in the
  // routine's table" and sends nothing.
  int EnterMultiTap(const std::optional<MultiTap>& stroke);
  int EnterDigit(const std::optional<int>& key);
  int EnterSymbolCell(const std::optional<int>& targetCell);

  KeyLink& m_link;
};

}  // namespace vrellix
