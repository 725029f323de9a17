// The device's palette pages as its screen shows them, written out as UTF-8
// text: what the entry engine's tables (which keys make a character) and the
// device model's tables (what each key does) are both checked against. Neither
// reads this; it is written a third time, in a form that can be held against
// the device itself, so that the same slip cannot hide in all of them.
#pragma once

#include "keys/keys.h"

namespace vrellix::testing {

// In the cycles and the grid: a press or cell without a character.
constexpr char kNoCharText[] = "□";
// In the full-width kana cycles: the presses that give the character before
// its voiced or semi-voiced mark (on the half-width page they are characters).
constexpr char kVoicedMarkText[] = "゛";
constexpr char kSemiVoicedMarkText[] = "゜";

// The multi-tap cycle of each digit key on the kana pages, one character per press.
struct KanaKeyText {
  int key;
  const char* hiragana;
  const char* fullKatakana;
  const char* halfKatakana;
};
constexpr KanaKeyText kKanaKeys[] = {
    {KEY_1, "あいうえおぁぃぅぇぉ", "アイウエオァィゥェォ", "ｱｲｳｴｵｧｨｩｪｫ"},
    {KEY_2, "かきくけこ",           "カキクケコ",           "ｶｷｸｹｺ"},
    {KEY_3, "さしすせそ",           "サシスセソ",           "ｻｼｽｾｿ"},
    {KEY_4, "たちつてとっ",         "タチツテトッ",         "ﾀﾁﾂﾃﾄｯ"},
    {KEY_5, "なにぬねの",           "ナニヌネノ",           "ﾅﾆﾇﾈﾉ"},
    {KEY_6, "はひふへほ",           "ハヒフヘホ",           "ﾊﾋﾌﾍﾎ"},
    {KEY_7, "まみむめも",           "マミムメモ",           "ﾏﾐﾑﾒﾓ"},
    {KEY_8, "やゆよゃゅょ",         "ヤユヨャュョ",         "ﾔﾕﾖｬｭｮ"},
    {KEY_9, "らりるれろ",           "ラリルレロ",           "ﾗﾘﾙﾚﾛ"},
    {KEY_0, "わをん゛゜。、ー",     "ワヲン゛゜□□－",       "ﾜｦﾝﾞﾟ□□ｰ"},
};

// Kana with a voiced or semi-voiced form, and those forms, in the same order.
struct MarkedKanaText {
  const char* base;
  const char* marked;
  bool semiVoiced;
};
constexpr MarkedKanaText kMarkedKana[] = {
    {"かきくけこ", "がぎぐげご", false}, {"さしすせそ", "ざじずぜぞ", false}, {"たちつてと", "だぢづでど", false},
    {"はひふへほ", "ばびぶべぼ", false}, {"はひふへほ", "ぱぴぷぺぽ", true},
    {"カキクケコ", "ガギグゲゴ", false}, {"サシスセソ", "ザジズゼゾ", false}, {"タチツテト", "ダヂヅデド", false},
    {"ハヒフヘホ", "バビブベボ", false}, {"ハヒフヘホ", "パピプペポ", true},
};

// The letter page: lower case first, then upper case; KEY_0 has no letters.
struct LetterKeyText {
  int key;
  const char* halfWidth;
  const char* fullWidth;
};
constexpr LetterKeyText kLetterKeys[] = {
    {KEY_1, "abcABC", "ａｂｃＡＢＣ"}, {KEY_2, "defDEF", "ｄｅｆＤＥＦ"}, {KEY_3, "ghiGHI", "ｇｈｉＧＨＩ"},
    {KEY_4, "jklJKL", "ｊｋｌＪＫＬ"}, {KEY_5, "mnoMNO", "ｍｎｏＭＮＯ"}, {KEY_6, "pqrPQR", "ｐｑｒＰＱＲ"},
    {KEY_7, "stuSTU", "ｓｔｕＳＴＵ"}, {KEY_8, "vwxVWX", "ｖｗｘＶＷＸ"}, {KEY_9, "yzYZ",   "ｙｚＹＺ"},
};

// The symbol grid, 3 rows of 12 cells; row 2 has no cell in column 0.
constexpr const char* kFullWidthSymbolRows[3] = {
    "＿｛｝＜＞【】（）「」＊",
    "｜！？￥＄％＆＝＋－～＃",
    "□‘’”＾；：，・＠／．",
};
constexpr const char* kHalfWidthSymbolRows[3] = {
    "_{}<>[]()｢｣*",
    "|!?\\$%&=+-~#",
    "□`'\"^;:,･@/.",
};

}  // namespace vrellix::testing
