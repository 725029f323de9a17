#include <map>
#include <set>

#include "entry_test_support.h"

namespace vrellix {
namespace {

using testing::Cp932;
using testing::Cp932Chars;
using testing::EngineRig;
using testing::EnterWithRoutineOfClass;
using testing::Hex;
using testing::OneByte;
using testing::TwoBytes;

// The classes as text, one string per class, in the order of their lists.
struct ClassText {
  int charClass;
  const char* characters;
};
const ClassText kTwoByteClasses[] = {
    {CHARCLASS_HIRAGANA,
     "ぁあぃいぅうぇえぉおかがきぎくぐけげこごさざしじすずせぜそぞただちぢっつづてでとどなにぬねの"
     "はばぱひびぴふぶぷへべぺほぼぽまみむめもゃやゅゆょよらりるれろわをん、。ー"},
    {CHARCLASS_ZKATAKANA,
     "ァアィイゥウェエォオカガキギクグケゲコゴサザシジスズセゼソゾタダチヂッツヅテデトドナニヌネノ"
     "ハバパヒビピフブプヘベペホボポマミムメモャヤュユョヨラリルレロヮワヰヱヲンヴヵヶ－"},
    {CHARCLASS_ZEIZI, "ＡＢＣＤＥＦＧＨＩＪＫＬＭＮＯＰＱＲＳＴＵＶＷＸＹＺａｂｃｄｅｆｇｈｉｊｋｌｍｎｏｐｑｒｓｔｕｖｗｘｙｚ"},
    {CHARCLASS_ZSUHZI, "０１２３４５６７８９"},
    {CHARCLASS_ZSYMBOL, "，．・：；？！＾＿／～｜‘’”（）｛｝「」【】＋＝＜＞￥＄％＃＆＊＠"},
    {CHARCLASS_ZSPACE, "　"},
};
const ClassText kOneByteClasses[] = {
    {CHARCLASS_HKATAKANA, "ｦｧｨｩｪｫｬｭｮｯｰｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿﾀﾁﾂﾃﾄﾅﾆﾇﾈﾉﾊﾋﾌﾍﾎﾏﾐﾑﾒﾓﾔﾕﾖﾗﾘﾙﾚﾛﾜﾝﾞﾟ"},
    {CHARCLASS_HEIZI, "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"},
    {CHARCLASS_HSUHZI, "0123456789"},
    {CHARCLASS_HSYMBOL, "!\"#$%&'()*+,-./:;<=>?@[\\]^_`{|}~｢｣･"},
    {CHARCLASS_HSPACE, " "},
};

std::map<std::string, int> ExpectedClasses() {
  std::map<std::string, int> expected;
  for (const ClassText& c : kTwoByteClasses) {
    for (const std::string& piece : Cp932Chars(c.characters)) expected[piece] = c.charClass;
  }
  for (const ClassText& c : kOneByteClasses) {
    for (const std::string& piece : Cp932Chars(c.characters)) expected[piece] = c.charClass;
  }
  // Codes with no character that the class ranges still cover: 837F inside the
  // katakana range, 827A-8280 between Ｚ and ａ.
  expected[TwoBytes(0x837F)] = CHARCLASS_ZKATAKANA;
  for (unsigned code = 0x827A; code <= 0x8280; ++code) expected[TwoBytes(code)] = CHARCLASS_ZEIZI;
  return expected;
}

// Every code the classification can be asked about: each single byte, and each
// lead byte 80-9F, E0-FC with every second byte.
std::vector<std::string> AllPieces() {
  std::vector<std::string> pieces;
  for (unsigned b = 0; b <= 0xFF; ++b) pieces.push_back(OneByte(b));
  for (unsigned lead = 0x80; lead <= 0xFC; ++lead) {
    if (lead >= 0xA0 && lead < 0xE0) continue;
    for (unsigned trail = 0; trail <= 0xFF; ++trail) pieces.push_back(TwoBytes(lead * 256 + trail));
  }
  return pieces;
}

TEST(GetCharClassTest, EveryCodeMatchesTheClassLists) {
  const auto expected = ExpectedClasses();
  std::map<int, int> perClass;
  for (const std::string& piece : AllPieces()) {
    const auto it = expected.find(piece);
    const int want = it == expected.end() ? CHARCLASS_NONE : it->second;
    EXPECT_EQ(GetCharClass(piece), want) << Hex(piece);
    ++perClass[GetCharClass(piece)];
  }
  EXPECT_EQ(perClass[CHARCLASS_HIRAGANA], 83);
  EXPECT_EQ(perClass[CHARCLASS_ZKATAKANA], 88);  // 8340-8396 and －
  EXPECT_EQ(perClass[CHARCLASS_HKATAKANA], 58);
  EXPECT_EQ(perClass[CHARCLASS_ZEIZI], 59);  // 8260-829A
  EXPECT_EQ(perClass[CHARCLASS_HEIZI], 52);
  EXPECT_EQ(perClass[CHARCLASS_ZSUHZI], 10);
  EXPECT_EQ(perClass[CHARCLASS_HSUHZI], 10);
  EXPECT_EQ(perClass[CHARCLASS_ZSYMBOL], 34);
  EXPECT_EQ(perClass[CHARCLASS_HSYMBOL], 35);
  EXPECT_EQ(perClass[CHARCLASS_ZSPACE], 1);
  EXPECT_EQ(perClass[CHARCLASS_HSPACE], 1);
}

// A one-byte character keeps its class whatever follows it.
TEST(GetCharClassTest, OneByteCharacterIgnoresTheNextByte) {
  for (unsigned b = 0; b <= 0xFF; ++b) {
    if (b >= 0x80 && b <= 0x8F) continue;  // lead bytes of the two-byte classes
    const int alone = GetCharClass(OneByte(b));
    for (unsigned next : {0x00u, 0x41u, 0x82u, 0xA0u, 0xFFu}) {
      EXPECT_EQ(GetCharClass(OneByte(b) + OneByte(next)), alone) << std::hex << b << " " << next;
    }
  }
}

TEST(GetCharClassTest, ListedCases) {
  struct Case {
    std::string piece;
    int charClass;
  };
  const Case cases[] = {
      {"", 0},
      {Cp932("あ"), 1},
      {Cp932("ア"), 2},
      {Cp932("ｱ"), 3},
      {Cp932("Ａ"), 4},
      {"A", 5},
      {Cp932("０"), 6},
      {"0", 7},
      {Cp932("！"), 8},
      {"!", 9},
      {TwoBytes(0x8140), 10},
      {" ", 11},
      {TwoBytes(0x815B), 1},
      {TwoBytes(0x817C), 2},
      {OneByte(0xB0), 3},
      {Cp932("ゐ"), 0},
      {Cp932("ゑ"), 0},
      {Cp932("ゎ"), 0},
      {Cp932("ヰ"), 2},
      {Cp932("ヱ"), 2},
      {Cp932("ヮ"), 2},
      {Cp932("ヴ"), 2},
      {Cp932("ヵ"), 2},
      {Cp932("ヶ"), 2},
      {Cp932("漢"), 0},
      {Cp932("亜"), 0},
      {TwoBytes(0x8ABF), 0},
      {TwoBytes(0x889F), 0},
      {TwoBytes(0x9041), 0},
      {TwoBytes(0xE040), 0},
      {Cp932("｡"), 0},
      {Cp932("､"), 0},
      {Cp932("｢"), 9},
      {Cp932("｣"), 9},
      {Cp932("･"), 9},
      {Cp932("ｱ") + OneByte(0x82), 3},
      {"a" + OneByte(0x82), 5},
      {"ab", 5},
      {OneByte(0x82), 0},
      {"\t", 0},
      {"\n", 0},
      {OneByte(0x7F), 0},
      {OneByte(0x80), 0},
      {TwoBytes(0x8168), 8},
      {TwoBytes(0x8167), 0},
      {TwoBytes(0x818D), 0},
      {TwoBytes(0x81A7), 0},
      {Cp932("〒"), 0},
      {Cp932("あい"), 1},
  };
  for (const Case& c : cases) EXPECT_EQ(GetCharClass(c.piece), c.charClass) << Hex(c.piece);
}

TEST(IsTwoByteClassTest, ExactlyTheFullWidthClasses) {
  const std::set<int> twoByte{1, 2, 4, 6, 8, 10};
  for (int c = -1; c <= 12; ++c) EXPECT_EQ(IsTwoByteClass(c), twoByte.count(c) == 1) << c;
}

// CanEnterCharacter says yes exactly when the routine of the character's class
// (SetSpace for a space) accepts it on a link that acknowledges every key.
TEST(CanEnterCharacterTest, AgreesWithTheRoutineOfEveryCode) {
  std::vector<std::string> refusedInsideAClass;
  int enterable = 0;
  for (const std::string& piece : AllPieces()) {
    const int charClass = GetCharClass(piece);
    bool routineAccepts = false;
    if (charClass != CHARCLASS_NONE) {
      EngineRig rig;
      routineAccepts = EnterWithRoutineOfClass(rig.engine, charClass, piece) == 1;
      EXPECT_EQ(routineAccepts, !rig.Keys().empty()) << Hex(piece);
      if (!routineAccepts) refusedInsideAClass.push_back(piece);
    }
    EXPECT_EQ(CanEnterCharacter(piece), routineAccepts) << Hex(piece);
    enterable += routineAccepts;
  }
  EXPECT_EQ(enterable, 83 + 81 + 58 + 52 + 52 + 10 + 10 + 34 + 35 + 1 + 1);

  std::vector<std::string> expectedRefused;
  for (unsigned code = 0x827A; code <= 0x8280; ++code) expectedRefused.push_back(TwoBytes(code));
  expectedRefused.push_back(TwoBytes(0x837F));
  for (const std::string& piece : Cp932Chars("ヮヰヱヴヵヶ")) expectedRefused.push_back(piece);
  EXPECT_EQ(refusedInsideAClass, expectedRefused);
}

TEST(CanEnterCharacterTest, ListedCases) {
  struct Case {
    std::string piece;
    bool enterable;
  };
  const Case cases[] = {
      {Cp932("あ"), true},  {Cp932("ー"), true},  {Cp932("－"), true}, {Cp932("ヴ"), false},
      {Cp932("ヶ"), false}, {Cp932("ゐ"), false}, {Cp932("漢"), false}, {Cp932("ｶ"), true},
      {"z", true},          {Cp932("ｚ"), true},  {Cp932("＠"), true}, {Cp932("“"), false},
      {"\\", true},         {" ", true},          {Cp932("　"), true}, {"", false},
      {OneByte(0x82), false}, {TwoBytes(0x8280), false},
  };
  for (const Case& c : cases) EXPECT_EQ(CanEnterCharacter(c.piece), c.enterable) << Hex(c.piece);
}

}  // namespace
}  // namespace vrellix
