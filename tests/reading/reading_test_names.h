// Names for the reading tests: a small dictionary, random names of every kind
// of character the fields meet, and real names with their readings.
#pragma once

#include <random>
#include <string>
#include <vector>

#include "reading/table_reading_provider.h"

namespace vrellix::testing {

inline TableReadingProvider Dictionary() {
  return TableReadingProvider({
      {"東京", "トウキョウ"}, {"事変", "ジヘン"},   {"少女", "ショウジョ"},   {"娘", "ムスメ"},
      {"千", "セン"},         {"千尋", "チヒロ"},   {"神隠し", "カミガクシ"}, {"取り扱い", "トリアツカイ"},
      {"初音", "ハツネ"},     {"人々", "ヒトビト"}, {"霞ヶ関", "カスミガセキ"}, {"寿限無", "ジュゲム"},
      {"春", "ハル"},         {"来い", "コイ"},     {"見る", "ミタ"},         {"〇", "〇"},
      // Words with more than one reading, the likelier first.
      {"米津", "ヨネツ"},     {"米津", "ヨネヅ"},   {"玄師", "ゲンシ"},       {"玄師", "ケンシ"},
      {"夜", "ヨル"},         {"夜", "ヨ"},         {"駆ける", "カケル"},
  });
}

// Real song titles, album titles and artist names with their readings: what
// the system's readings are measured on (bench/reading_bench).
struct RealName {
  const char* kind;
  const char* name;
  const char* reading;
};

// clang-format off
inline const std::vector<RealName> kRealNames = {
  {"song", "夜に駆ける", "よるにかける"}, {"song", "千本桜", "せんぼんざくら"}, {"song", "紅蓮華", "ぐれんげ"},
  {"song", "残酷な天使のテーゼ", "ざんこくなてんしのてーぜ"}, {"song", "世界に一つだけの花", "せかいにひとつだけのはな"},
  {"song", "春よ、来い", "はるよ、こい"}, {"song", "木綿のハンカチーフ", "もめんのはんかちーふ"},
  {"song", "津軽海峡・冬景色", "つがるかいきょうふゆげしき"}, {"song", "上を向いて歩こう", "うえをむいてあるこう"},
  {"song", "川の流れのように", "かわのながれのように"}, {"song", "糸", "いと"}, {"song", "白日", "はくじつ"},
  {"song", "打上花火", "うちあげはなび"}, {"song", "丸の内サディスティック", "まるのうちさでぃすてぃっく"},
  {"song", "香水", "こうすい"}, {"song", "炎", "ほむら"}, {"song", "残響散歌", "ざんきょうさんか"},
  {"song", "花束を君に", "はなたばをきみに"}, {"song", "涙そうそう", "なだそうそう"}, {"song", "襟裳岬", "えりもみさき"},
  {"song", "天体観測", "てんたいかんそく"}, {"song", "粉雪", "こなゆき"}, {"song", "空も飛べるはず", "そらもとべるはず"},
  {"song", "恋", "こい"}, {"song", "群青日和", "ぐんじょうびより"}, {"song", "青と夏", "あおとなつ"},
  {"song", "馬と鹿", "うまとしか"},
  {"album", "無罪モラトリアム", "むざいもらとりあむ"}, {"album", "勝訴ストリップ", "しょうそすとりっぷ"},
  {"album", "初恋", "はつこい"}, {"album", "深海", "しんかい"}, {"album", "風街ろまん", "かぜまちろまん"},
  {"album", "氷の世界", "こおりのせかい"}, {"album", "教育", "きょういく"}, {"album", "大発見", "だいはっけん"},
  {"album", "悪の華", "あくのはな"}, {"album", "空中キャンプ", "くうちゅうきゃんぷ"},
  {"album", "宇宙 日本 世田谷", "うちゅうにっぽんせたがや"}, {"album", "図鑑", "ずかん"},
  {"album", "人気者で行こう", "にんきものでいこう"}, {"album", "ひこうき雲", "ひこうきぐも"},
  {"album", "寒水魚", "かんすいぎょ"}, {"album", "僕の中の少年", "ぼくのなかのしょうねん"},
  {"album", "元気です。", "げんきです。"}, {"album", "三毒史", "さんどくし"},
  {"album", "重力と呼吸", "じゅうりょくとこきゅう"}, {"album", "醒めない", "さめない"},
  {"album", "花鳥風月", "かちょうふうげつ"}, {"album", "未来派野郎", "みらいはやろう"},
  {"album", "泰安洋行", "たいあんようこう"}, {"album", "シフォン主義", "しふぉんしゅぎ"}, {"album", "空洞です", "くうどうです"},
  {"artist", "米津玄師", "よねづけんし"}, {"artist", "椎名林檎", "しいなりんご"}, {"artist", "宇多田ヒカル", "うただひかる"},
  {"artist", "中島みゆき", "なかじまみゆき"}, {"artist", "山下達郎", "やましたたつろう"},
  {"artist", "松任谷由実", "まつとうやゆみ"}, {"artist", "東京事変", "とうきょうじへん"},
  {"artist", "井上陽水", "いのうえようすい"}, {"artist", "美空ひばり", "みそらひばり"}, {"artist", "坂本九", "さかもときゅう"},
  {"artist", "星野源", "ほしのげん"}, {"artist", "安室奈美恵", "あむろなみえ"}, {"artist", "浜崎あゆみ", "はまさきあゆみ"},
  {"artist", "久保田利伸", "くぼたとしのぶ"}, {"artist", "竹内まりや", "たけうちまりや"}, {"artist", "藤井風", "ふじいかぜ"},
  {"artist", "玉置浩二", "たまきこうじ"}, {"artist", "長渕剛", "ながぶちつよし"}, {"artist", "石川さゆり", "いしかわさゆり"},
  {"artist", "中森明菜", "なかもりあきな"}, {"artist", "松田聖子", "まつだせいこ"}, {"artist", "大滝詠一", "おおたきえいいち"},
  {"artist", "細野晴臣", "ほそのはるおみ"}, {"artist", "矢沢永吉", "やざわえいきち"}, {"artist", "桑田佳祐", "くわたけいすけ"},
  {"artist", "小田和正", "おだかずまさ"}, {"artist", "坂本龍一", "さかもとりゅういち"},
  {"artist", "相対性理論", "そうたいせいりろん"}, {"artist", "嵐", "あらし"}, {"artist", "吉田拓郎", "よしだたくろう"},
};
// clang-format on

inline std::string RandomName(std::mt19937& random) {
  static const std::vector<std::string> pieces = {
      "あ", "が", "っ", "ー", "、", "。", "ア", "ヴ", "ヶ", "ゐ", "ｶﾞ", "ﾎﾟ", "ｰ", "か\u3099", "ﾞ", "ゞ",
      "東京", "少女", "千", "千尋", "神隠し", "寿限無", "人々", "見る", "〇", "鬱", "森",
      "A", "z", "Ｂ", "1", "７", " ", "　", "!", "'", "・", "♪", "「", "～", "é", "\t",
  };
  std::uniform_int_distribution<size_t> length(0, 14);
  std::uniform_int_distribution<size_t> pick(0, pieces.size() - 1);
  std::string name;
  for (size_t n = length(random); n > 0; --n) name += pieces[pick(random)];
  return name;
}

}  // namespace vrellix::testing
