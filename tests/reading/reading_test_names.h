// Names for the reading tests: a small dictionary, and random names of every
// kind of character the fields meet.
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
  });
}

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
