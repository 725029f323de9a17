// Kana: the digit key of the kana's row pressed once per step along the row,
// then the mark presses for a voiced or semi-voiced kana.
#include <iterator>

#include "entry/entry_engine.h"
#include "entry/entry_tables.h"
#include "keys/keys.h"

namespace vrellix {
namespace {

constexpr int kMaxKanaPresses = 10;

// One key of the multi-tap layout: the character of each press, 0 where that
// press gives none in this table.
struct KanaKeyRow {
  int key;
  unsigned cells[kMaxKanaPresses];
};

// A voiced or semi-voiced kana: presses 1..5 of `key` give the base kana,
// followed by `markPresses` of KEY_0.
struct MarkedKanaRow {
  int key;
  int markPresses;
  unsigned cells[5];
};

constexpr int kVoiced = kVoicedMarkPresses;
constexpr int kSemiVoiced = kSemiVoicedMarkPresses;

// clang-format off
// KEY_0's presses 4 and 5 are the marks themselves; on the full-width pages
// they only follow a base kana (see the marked tables below).
constexpr KanaKeyRow kHiraganaLayout[] = {
  //       press 1       2       3       4       5       6       7       8       9      10
  //         あ      い      う      え      お      ぁ      ぃ      ぅ      ぇ      ぉ
  {KEY_1, {0x82A0, 0x82A2, 0x82A4, 0x82A6, 0x82A8, 0x829F, 0x82A1, 0x82A3, 0x82A5, 0x82A7}},
  //         か      き      く      け      こ
  {KEY_2, {0x82A9, 0x82AB, 0x82AD, 0x82AF, 0x82B1,      0,      0,      0,      0,      0}},
  //         さ      し      す      せ      そ
  {KEY_3, {0x82B3, 0x82B5, 0x82B7, 0x82B9, 0x82BB,      0,      0,      0,      0,      0}},
  //         た      ち      つ      て      と      っ
  {KEY_4, {0x82BD, 0x82BF, 0x82C2, 0x82C4, 0x82C6, 0x82C1,      0,      0,      0,      0}},
  //         な      に      ぬ      ね      の
  {KEY_5, {0x82C8, 0x82C9, 0x82CA, 0x82CB, 0x82CC,      0,      0,      0,      0,      0}},
  //         は      ひ      ふ      へ      ほ
  {KEY_6, {0x82CD, 0x82D0, 0x82D3, 0x82D6, 0x82D9,      0,      0,      0,      0,      0}},
  //         ま      み      む      め      も
  {KEY_7, {0x82DC, 0x82DD, 0x82DE, 0x82DF, 0x82E0,      0,      0,      0,      0,      0}},
  //         や      ゆ      よ      ゃ      ゅ      ょ
  {KEY_8, {0x82E2, 0x82E4, 0x82E6, 0x82E1, 0x82E3, 0x82E5,      0,      0,      0,      0}},
  //         ら      り      る      れ      ろ
  {KEY_9, {0x82E7, 0x82E8, 0x82E9, 0x82EA, 0x82EB,      0,      0,      0,      0,      0}},
  //         わ      を      ん     (゛)    (゜)     。      、      ー
  {KEY_0, {0x82ED, 0x82F0, 0x82F1,      0,      0, 0x8142, 0x8141, 0x815B,      0,      0}},
};

constexpr KanaKeyRow kZKatakanaLayout[] = {
  //       press 1       2       3       4       5       6       7       8       9      10
  //         ア      イ      ウ      エ      オ      ァ      ィ      ゥ      ェ      ォ
  {KEY_1, {0x8341, 0x8343, 0x8345, 0x8347, 0x8349, 0x8340, 0x8342, 0x8344, 0x8346, 0x8348}},
  //         カ      キ      ク      ケ      コ
  {KEY_2, {0x834A, 0x834C, 0x834E, 0x8350, 0x8352,      0,      0,      0,      0,      0}},
  //         サ      シ      ス      セ      ソ
  {KEY_3, {0x8354, 0x8356, 0x8358, 0x835A, 0x835C,      0,      0,      0,      0,      0}},
  //         タ      チ      ツ      テ      ト      ッ
  {KEY_4, {0x835E, 0x8360, 0x8363, 0x8365, 0x8367, 0x8362,      0,      0,      0,      0}},
  //         ナ      ニ      ヌ      ネ      ノ
  {KEY_5, {0x8369, 0x836A, 0x836B, 0x836C, 0x836D,      0,      0,      0,      0,      0}},
  //         ハ      ヒ      フ      ヘ      ホ
  {KEY_6, {0x836E, 0x8371, 0x8374, 0x8377, 0x837A,      0,      0,      0,      0,      0}},
  //         マ      ミ      ム      メ      モ
  {KEY_7, {0x837D, 0x837E, 0x8380, 0x8381, 0x8382,      0,      0,      0,      0,      0}},
  //         ヤ      ユ      ヨ      ャ      ュ      ョ
  {KEY_8, {0x8384, 0x8386, 0x8388, 0x8383, 0x8385, 0x8387,      0,      0,      0,      0}},
  //         ラ      リ      ル      レ      ロ
  {KEY_9, {0x8389, 0x838A, 0x838B, 0x838C, 0x838D,      0,      0,      0,      0,      0}},
  //         ワ      ヲ      ン     (゛)    (゜)                     －
  {KEY_0, {0x838F, 0x8392, 0x8393,      0,      0,      0,      0, 0x817C,      0,      0}},
};

// Half-width katakana has no combined voiced forms: ﾞ and ﾟ are cells of their own.
constexpr KanaKeyRow kHKatakanaLayout[] = {
  //     press 1     2     3     4     5     6     7     8     9    10
  //         ｱ     ｲ     ｳ     ｴ     ｵ     ｧ     ｨ     ｩ     ｪ     ｫ
  {KEY_1, {0xB1, 0xB2, 0xB3, 0xB4, 0xB5, 0xA7, 0xA8, 0xA9, 0xAA, 0xAB}},
  //         ｶ     ｷ     ｸ     ｹ     ｺ
  {KEY_2, {0xB6, 0xB7, 0xB8, 0xB9, 0xBA,    0,    0,    0,    0,    0}},
  //         ｻ     ｼ     ｽ     ｾ     ｿ
  {KEY_3, {0xBB, 0xBC, 0xBD, 0xBE, 0xBF,    0,    0,    0,    0,    0}},
  //         ﾀ     ﾁ     ﾂ     ﾃ     ﾄ     ｯ
  {KEY_4, {0xC0, 0xC1, 0xC2, 0xC3, 0xC4, 0xAF,    0,    0,    0,    0}},
  //         ﾅ     ﾆ     ﾇ     ﾈ     ﾉ
  {KEY_5, {0xC5, 0xC6, 0xC7, 0xC8, 0xC9,    0,    0,    0,    0,    0}},
  //         ﾊ     ﾋ     ﾌ     ﾍ     ﾎ
  {KEY_6, {0xCA, 0xCB, 0xCC, 0xCD, 0xCE,    0,    0,    0,    0,    0}},
  //         ﾏ     ﾐ     ﾑ     ﾒ     ﾓ
  {KEY_7, {0xCF, 0xD0, 0xD1, 0xD2, 0xD3,    0,    0,    0,    0,    0}},
  //         ﾔ     ﾕ     ﾖ     ｬ     ｭ     ｮ
  {KEY_8, {0xD4, 0xD5, 0xD6, 0xAC, 0xAD, 0xAE,    0,    0,    0,    0}},
  //         ﾗ     ﾘ     ﾙ     ﾚ     ﾛ
  {KEY_9, {0xD7, 0xD8, 0xD9, 0xDA, 0xDB,    0,    0,    0,    0,    0}},
  //         ﾜ     ｦ     ﾝ     ﾞ     ﾟ                 ｰ
  {KEY_0, {0xDC, 0xA6, 0xDD, 0xDE, 0xDF,    0,    0, 0xB0,    0,    0}},
};

constexpr MarkedKanaRow kMarkedHiragana[] = {
  //                  press 1       2       3       4       5
  //                    が      ぎ      ぐ      げ      ご
  {KEY_2, kVoiced,     {0x82AA, 0x82AC, 0x82AE, 0x82B0, 0x82B2}},
  //                    ざ      じ      ず      ぜ      ぞ
  {KEY_3, kVoiced,     {0x82B4, 0x82B6, 0x82B8, 0x82BA, 0x82BC}},
  //                    だ      ぢ      づ      で      ど
  {KEY_4, kVoiced,     {0x82BE, 0x82C0, 0x82C3, 0x82C5, 0x82C7}},
  //                    ば      び      ぶ      べ      ぼ
  {KEY_6, kVoiced,     {0x82CE, 0x82D1, 0x82D4, 0x82D7, 0x82DA}},
  //                    ぱ      ぴ      ぷ      ぺ      ぽ
  {KEY_6, kSemiVoiced, {0x82CF, 0x82D2, 0x82D5, 0x82D8, 0x82DB}},
};

constexpr MarkedKanaRow kMarkedZKatakana[] = {
  //                  press 1       2       3       4       5
  //                    ガ      ギ      グ      ゲ      ゴ
  {KEY_2, kVoiced,     {0x834B, 0x834D, 0x834F, 0x8351, 0x8353}},
  //                    ザ      ジ      ズ      ゼ      ゾ
  {KEY_3, kVoiced,     {0x8355, 0x8357, 0x8359, 0x835B, 0x835D}},
  //                    ダ      ヂ      ヅ      デ      ド
  {KEY_4, kVoiced,     {0x835F, 0x8361, 0x8364, 0x8366, 0x8368}},
  //                    バ      ビ      ブ      ベ      ボ
  {KEY_6, kVoiced,     {0x836F, 0x8372, 0x8375, 0x8378, 0x837B}},
  //                    パ      ピ      プ      ペ      ポ
  {KEY_6, kSemiVoiced, {0x8370, 0x8373, 0x8376, 0x8379, 0x837C}},
};
// clang-format on

// The code 0 marks an empty cell, so it is never looked up.
template <std::size_t N>
std::optional<MultiTap> FindInLayout(const KanaKeyRow (&layout)[N], unsigned code) {
  if (code == 0) return std::nullopt;
  for (const KanaKeyRow& row : layout) {
    for (int press = 0; press < kMaxKanaPresses; ++press) {
      if (row.cells[press] == code) return MultiTap{row.key, press + 1, 0};
    }
  }
  return std::nullopt;
}

template <std::size_t N>
std::optional<MultiTap> FindInMarked(const MarkedKanaRow (&table)[N], unsigned code) {
  if (code == 0) return std::nullopt;
  for (const MarkedKanaRow& row : table) {
    for (int press = 0; press < static_cast<int>(std::size(row.cells)); ++press) {
      if (row.cells[press] == code) return MultiTap{row.key, press + 1, row.markPresses};
    }
  }
  return std::nullopt;
}

}  // namespace

std::optional<MultiTap> FindHiragana(unsigned code) {
  if (auto plain = FindInLayout(kHiraganaLayout, code)) return plain;
  return FindInMarked(kMarkedHiragana, code);
}

std::optional<MultiTap> FindZKatakana(unsigned code) {
  if (auto plain = FindInLayout(kZKatakanaLayout, code)) return plain;
  return FindInMarked(kMarkedZKatakana, code);
}

std::optional<MultiTap> FindHKatakana(unsigned char byte) {
  return FindInLayout(kHKatakanaLayout, byte);
}

int EntryEngine::EnterMultiTap(const std::optional<MultiTap>& stroke) {
  if (!stroke) return 0;
  if (PressKey(stroke->key, stroke->presses) != 1) return 0;
  if (PressKey(KEY_0, stroke->markPresses) != 1) return 0;
  m_bCursorOffGrid = false;
  return 1;
}

int EntryEngine::HiraganaInputProcess(const std::string& piece) {
  return EnterMultiTap(FindHiragana(TwoByteCodeAt(piece)));
}

int EntryEngine::ZKatakanaInputProcess(const std::string& piece) {
  return EnterMultiTap(FindZKatakana(TwoByteCodeAt(piece)));
}

int EntryEngine::HKatakanaInputProcess(const std::string& piece) {
  return EnterMultiTap(FindHKatakana(FirstByteOf(piece)));
}

}  // namespace vrellix
