#include "sim/palette_layout.h"

namespace vrellix::sim {
namespace {

constexpr std::uint16_t V = kVoicedMark;
constexpr std::uint16_t S = kSemiVoicedMark;
constexpr std::uint16_t N = kNoChar;

// One row per digit key, one cell per press: {hiragana, full katakana, half katakana}.
// clang-format off
const KanaCycle kKanaCycles[10] = {
  //      わ ワ ﾜ               を ヲ ｦ               ん ン ﾝ               voiced ﾞ     semi ﾟ       。           、           ー － ｰ
  { 8, {{0x82ED, 0x838F, 0xDC}, {0x82F0, 0x8392, 0xA6}, {0x82F1, 0x8393, 0xDD}, {V, V, 0xDE}, {S, S, 0xDF}, {0x8142, N, N}, {0x8141, N, N}, {0x815B, 0x817C, 0xB0}}},
  //      あ ア ｱ               い イ ｲ               う ウ ｳ               え エ ｴ               お オ ｵ               ぁ ァ ｧ               ぃ ィ ｨ               ぅ ゥ ｩ               ぇ ェ ｪ               ぉ ォ ｫ
  {10, {{0x82A0, 0x8341, 0xB1}, {0x82A2, 0x8343, 0xB2}, {0x82A4, 0x8345, 0xB3}, {0x82A6, 0x8347, 0xB4}, {0x82A8, 0x8349, 0xB5}, {0x829F, 0x8340, 0xA7}, {0x82A1, 0x8342, 0xA8}, {0x82A3, 0x8344, 0xA9}, {0x82A5, 0x8346, 0xAA}, {0x82A7, 0x8348, 0xAB}}},
  //      か カ ｶ               き キ ｷ               く ク ｸ               け ケ ｹ               こ コ ｺ
  { 5, {{0x82A9, 0x834A, 0xB6}, {0x82AB, 0x834C, 0xB7}, {0x82AD, 0x834E, 0xB8}, {0x82AF, 0x8350, 0xB9}, {0x82B1, 0x8352, 0xBA}}},
  //      さ サ ｻ               し シ ｼ               す ス ｽ               せ セ ｾ               そ ソ ｿ
  { 5, {{0x82B3, 0x8354, 0xBB}, {0x82B5, 0x8356, 0xBC}, {0x82B7, 0x8358, 0xBD}, {0x82B9, 0x835A, 0xBE}, {0x82BB, 0x835C, 0xBF}}},
  //      た タ ﾀ               ち チ ﾁ               つ ツ ﾂ               て テ ﾃ               と ト ﾄ               っ ッ ｯ
  { 6, {{0x82BD, 0x835E, 0xC0}, {0x82BF, 0x8360, 0xC1}, {0x82C2, 0x8363, 0xC2}, {0x82C4, 0x8365, 0xC3}, {0x82C6, 0x8367, 0xC4}, {0x82C1, 0x8362, 0xAF}}},
  //      な ナ ﾅ               に ニ ﾆ               ぬ ヌ ﾇ               ね ネ ﾈ               の ノ ﾉ
  { 5, {{0x82C8, 0x8369, 0xC5}, {0x82C9, 0x836A, 0xC6}, {0x82CA, 0x836B, 0xC7}, {0x82CB, 0x836C, 0xC8}, {0x82CC, 0x836D, 0xC9}}},
  //      は ハ ﾊ               ひ ヒ ﾋ               ふ フ ﾌ               へ ヘ ﾍ               ほ ホ ﾎ
  { 5, {{0x82CD, 0x836E, 0xCA}, {0x82D0, 0x8371, 0xCB}, {0x82D3, 0x8374, 0xCC}, {0x82D6, 0x8377, 0xCD}, {0x82D9, 0x837A, 0xCE}}},
  //      ま マ ﾏ               み ミ ﾐ               む ム ﾑ               め メ ﾒ               も モ ﾓ
  { 5, {{0x82DC, 0x837D, 0xCF}, {0x82DD, 0x837E, 0xD0}, {0x82DE, 0x8380, 0xD1}, {0x82DF, 0x8381, 0xD2}, {0x82E0, 0x8382, 0xD3}}},
  //      や ヤ ﾔ               ゆ ユ ﾕ               よ ヨ ﾖ               ゃ ャ ｬ               ゅ ュ ｭ               ょ ョ ｮ
  { 6, {{0x82E2, 0x8384, 0xD4}, {0x82E4, 0x8386, 0xD5}, {0x82E6, 0x8388, 0xD6}, {0x82E1, 0x8383, 0xAC}, {0x82E3, 0x8385, 0xAD}, {0x82E5, 0x8387, 0xAE}}},
  //      ら ラ ﾗ               り リ ﾘ               る ル ﾙ               れ レ ﾚ               ろ ロ ﾛ
  { 5, {{0x82E7, 0x8389, 0xD7}, {0x82E8, 0x838A, 0xD8}, {0x82E9, 0x838B, 0xD9}, {0x82EA, 0x838C, 0xDA}, {0x82EB, 0x838D, 0xDB}}},
};

// Lower case first, then upper case; KEY_0 has no letters.
const char* const kLetterCycles[10] = {
  "",        // KEY_0
  "abcABC",  // KEY_1
  "defDEF",  // KEY_2
  "ghiGHI",  // KEY_3
  "jklJKL",  // KEY_4
  "mnoMNO",  // KEY_5
  "pqrPQR",  // KEY_6
  "stuSTU",  // KEY_7
  "vwxVWX",  // KEY_8
  "yzYZ",    // KEY_9
};

struct SymbolCell {
  std::uint16_t full;
  std::uint16_t half;
};

// The symbol page, row by row; cell 24 (row 2, column 0) does not exist.
const SymbolCell kSymbolGrid[kGridRows][kGridColumns] = {
  // ＿ _          ｛ {          ｝ }          ＜ <          ＞ >          【 [          】 ]          （ (          ） )          「 ｢          」 ｣          ＊ *
  {{0x8151, 0x5F}, {0x816F, 0x7B}, {0x8170, 0x7D}, {0x8183, 0x3C}, {0x8184, 0x3E}, {0x8179, 0x5B}, {0x817A, 0x5D}, {0x8169, 0x28}, {0x816A, 0x29}, {0x8175, 0xA2}, {0x8176, 0xA3}, {0x8196, 0x2A}},
  // ｜ |          ！ !          ？ ?          ￥ yen(5C)    ＄ $          ％ %          ＆ &          ＝ =          ＋ +          － -          ～ ~          ＃ #
  {{0x8162, 0x7C}, {0x8149, 0x21}, {0x8148, 0x3F}, {0x818F, 0x5C}, {0x8190, 0x24}, {0x8193, 0x25}, {0x8195, 0x26}, {0x8181, 0x3D}, {0x817B, 0x2B}, {0x817C, 0x2D}, {0x8160, 0x7E}, {0x8194, 0x23}},
  // (none)        ‘ `          ’ '          ” "          ＾ ^          ； ;          ： :          ， ,          ・ ･          ＠ @          ／ /          ． .
  {{N, N},         {0x8165, 0x60}, {0x8166, 0x27}, {0x8168, 0x22}, {0x814F, 0x5E}, {0x8147, 0x3B}, {0x8146, 0x3A}, {0x8143, 0x2C}, {0x8145, 0xA5}, {0x8197, 0x40}, {0x815E, 0x2F}, {0x8144, 0x2E}},
};

// Kana that take the voiced mark. In code page 932 the voiced form directly
// follows its base for every one of them (か 82A9 → が 82AA ... ト 8367 → ド 8368).
// ウ is left out on purpose: ヴ (8394) does not follow it and the key layout has
// no voiced ウ, nor does the code page have a voiced う.
const std::uint16_t kTakesVoicedMark[] = {
  0x82A9, 0x82AB, 0x82AD, 0x82AF, 0x82B1,  // か き く け こ
  0x82B3, 0x82B5, 0x82B7, 0x82B9, 0x82BB,  // さ し す せ そ
  0x82BD, 0x82BF, 0x82C2, 0x82C4, 0x82C6,  // た ち つ て と
  0x82CD, 0x82D0, 0x82D3, 0x82D6, 0x82D9,  // は ひ ふ へ ほ
  0x834A, 0x834C, 0x834E, 0x8350, 0x8352,  // カ キ ク ケ コ
  0x8354, 0x8356, 0x8358, 0x835A, 0x835C,  // サ シ ス セ ソ
  0x835E, 0x8360, 0x8363, 0x8365, 0x8367,  // タ チ ツ テ ト
  0x836E, 0x8371, 0x8374, 0x8377, 0x837A,  // ハ ヒ フ ヘ ホ
};

// Kana that take the semi-voiced mark; the form is two codes on (は 82CD → ぱ 82CF).
const std::uint16_t kTakesSemiVoicedMark[] = {
  0x82CD, 0x82D0, 0x82D3, 0x82D6, 0x82D9,  // は ひ ふ へ ほ
  0x836E, 0x8371, 0x8374, 0x8377, 0x837A,  // ハ ヒ フ ヘ ホ
};
// clang-format on

template <std::size_t N>
bool Contains(const std::uint16_t (&list)[N], std::uint16_t code) {
  for (std::uint16_t c : list) {
    if (c == code) return true;
  }
  return false;
}

}  // namespace

const KanaCycle& KanaCycleOf(int digit) { return kKanaCycles[digit]; }

const char* LetterCycleOf(int digit) { return kLetterCycles[digit]; }

std::uint16_t FullWidthLetter(char ascii) {
  // ａ..ｚ and Ａ..Ｚ are contiguous in the code page, as are a..z and A..Z.
  if (ascii >= 'a' && ascii <= 'z') return static_cast<std::uint16_t>(0x8281 + (ascii - 'a'));
  if (ascii >= 'A' && ascii <= 'Z') return static_cast<std::uint16_t>(0x8260 + (ascii - 'A'));
  return kNoChar;
}

std::uint16_t DigitChar(int digit, bool halfWidth) {
  return static_cast<std::uint16_t>(halfWidth ? '0' + digit : 0x824F + digit);
}

std::uint16_t SymbolChar(int cell, bool halfWidth) {
  if (cell < 0 || cell >= kGridCells) return kNoChar;
  const SymbolCell& c = kSymbolGrid[cell / kGridColumns][cell % kGridColumns];
  return halfWidth ? c.half : c.full;
}

std::uint16_t VoicedForm(std::uint16_t kana) {
  return Contains(kTakesVoicedMark, kana) ? static_cast<std::uint16_t>(kana + 1) : kNoChar;
}

std::uint16_t SemiVoicedForm(std::uint16_t kana) {
  return Contains(kTakesSemiVoicedMark, kana) ? static_cast<std::uint16_t>(kana + 2) : kNoChar;
}

std::string CharBytes(std::uint16_t code) {
  if (code < 0x100) return std::string(1, static_cast<char>(code));
  return std::string{static_cast<char>(code >> 8), static_cast<char>(code & 0xFF)};
}

std::uint16_t CharCode(const std::string& bytes) {
  if (bytes.empty()) return kNoChar;
  const auto first = static_cast<unsigned char>(bytes[0]);
  if (bytes.size() == 1) return first;
  return static_cast<std::uint16_t>(first << 8 | static_cast<unsigned char>(bytes[1]));
}

}  // namespace vrellix::sim
