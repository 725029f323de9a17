// Random albums that pass the Start checks, for running the real entry job
// against the device model. Every enterable code page 932 character is in the
// pools; the generator favours the mixtures that are hard to key: runs of one
// class, class changes, spaces beside symbols, width changes around symbols,
// voiced kana in both widths, fields filled to 32 bytes, all 50 tracks, sparse
// ticked rows, ticked rows without a name, empty header fields.
#pragma once

#include <array>
#include <random>
#include <string>
#include <vector>

#include "album/album.h"
#include "entry/char_class.h"
#include "sim/sim_keys.h"
#include "support/cp932.h"
#include "text/text_codec.h"

namespace vrellix::testing {

class CharPools {
 public:
  CharPools() {
    auto add = [this](const std::string& piece) {
      if (CanEnterCharacter(piece)) m_byClass[static_cast<std::size_t>(GetCharClass(piece))].push_back(piece);
    };
    for (int single = 0x20; single <= 0xDF; ++single) {
      if (single > 0x7E && single < 0xA1) continue;
      add(std::string(1, static_cast<char>(single)));
    }
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
      if (lead > 0x9F && lead < 0xE0) continue;
      for (int trail = 0x40; trail <= 0xFC; ++trail) {
        if (trail == 0x7F) continue;
        add(std::string{static_cast<char>(lead), static_cast<char>(trail)});
      }
    }
    for (const char* utf8 : {"が", "ぎ", "ぐ", "げ", "ご", "ざ", "じ", "ず", "ぜ", "ぞ", "だ", "ぢ", "づ", "で", "ど",
                             "ば", "び", "ぶ", "べ", "ぼ", "ぱ", "ぴ", "ぷ", "ぺ", "ぽ"}) {
      m_voicedHiragana.push_back(Cp932(utf8));
    }
    for (const char* utf8 : {"ガ", "ギ", "グ", "ゲ", "ゴ", "ザ", "ジ", "ズ", "ゼ", "ゾ", "ダ", "ヂ", "ヅ", "デ", "ド",
                             "バ", "ビ", "ブ", "ベ", "ボ", "パ", "ピ", "プ", "ペ", "ポ"}) {
      m_voicedKatakana.push_back(Cp932(utf8));
    }
    m_halfMarks = {Cp932("ﾞ"), Cp932("ﾟ")};
  }

  const std::vector<std::string>& Class(int charClass) const {
    return m_byClass[static_cast<std::size_t>(charClass)];
  }
  const std::vector<std::string>& VoicedHiragana() const { return m_voicedHiragana; }
  const std::vector<std::string>& VoicedKatakana() const { return m_voicedKatakana; }
  const std::vector<std::string>& HalfMarks() const { return m_halfMarks; }

 private:
  std::array<std::vector<std::string>, 12> m_byClass;
  std::vector<std::string> m_voicedHiragana;
  std::vector<std::string> m_voicedKatakana;
  std::vector<std::string> m_halfMarks;
};

class AlbumGenerator {
 public:
  AlbumGenerator(const CharPools& pools, std::uint32_t seed) : m_pools(pools), m_random(seed) {}

  // A title, artist or track name: 1 to 32 bytes, often exactly 32.
  std::string GeneralText() {
    const int target = Chance(0.3) ? kFieldLimitBytes : Uniform(1, kFieldLimitBytes);
    std::string text;
    while (static_cast<int>(text.size()) < target) {
      for (const std::string& piece : Segment()) {
        if (static_cast<int>(text.size() + piece.size()) <= target) text += piece;
      }
      // One byte left and a two-byte segment: close with a half-width character.
      if (static_cast<int>(text.size()) == target - 1) text += Pick(Class(Chance(0.5) ? 5 : 3));
    }
    return text;
  }

  // A reading: hiragana only, 1 to 16 characters, often 16.
  std::string Reading() {
    const int count = Chance(0.3) ? kFieldLimitBytes / 2 : Uniform(1, kFieldLimitBytes / 2);
    std::string text;
    for (int i = 0; i < count; ++i) text += Chance(0.3) ? Pick(m_pools.VoicedHiragana()) : Pick(Class(1));
    return text;
  }

  // An album as the window would hold it (UTF-8), with its rows' check marks.
  EditedAlbum Album() {
    EditedAlbum edited;
    edited.title = HeaderField(false);
    edited.yomi = HeaderField(true);
    edited.artist = HeaderField(false);
    // Row layouts: every row named, a few scattered rows, each row by chance, none.
    const int layout = Uniform(0, 3);
    const double ticked = layout == 0 ? 1.0 : layout == 1 ? 0.08 : layout == 2 ? 0.5 : 0.0;
    for (EditedRow& row : edited.rows) {
      row.checked = Chance(ticked);
      // Unticked rows may hold text that the job must leave alone.
      if (!row.checked && !Chance(0.3)) continue;
      if (row.checked && layout != 0 && Chance(0.1)) continue;  // ticked, no name
      row.name = ToUtf8(TrackName());
      if (Chance(0.6)) row.yomi = ToUtf8(Reading());
    }
    if (edited.title.empty() && edited.yomi.empty() && edited.artist.empty() && !HasNamedTickedRow(edited)) {
      edited.title = ToUtf8(GeneralText());
    }
    return edited;
  }

 private:
  const std::vector<std::string>& Class(int charClass) const { return m_pools.Class(charClass); }

  std::string HeaderField(bool reading) {
    if (Chance(0.3)) return {};
    return ToUtf8(reading ? Reading() : GeneralText());
  }

  // Track names are trimmed at Start, so they neither start nor end with a
  // half-width space (those are tested where trimming is).
  std::string TrackName() {
    for (;;) {
      std::string name = GeneralText();
      if (name.front() != ' ' && name.back() != ' ') return name;
    }
  }

  static bool HasNamedTickedRow(const EditedAlbum& edited) {
    for (const EditedRow& row : edited.rows) {
      if (row.checked && !row.name.empty()) return true;
    }
    return false;
  }

  // A few characters that belong together.
  std::vector<std::string> Segment() {
    const int halfSymbol = 9;
    const int fullSymbol = 8;
    switch (Uniform(0, 6)) {
      case 0: {  // a run of one class
        const int charClass = Uniform(1, 11);
        std::vector<std::string> run;
        for (int n = Uniform(1, 5); n > 0; --n) run.push_back(Pick(Class(charClass)));
        return run;
      }
      case 1:  // a space beside symbols, either width each
        return {Pick(Class(Chance(0.5) ? halfSymbol : fullSymbol)), Pick(Class(Chance(0.5) ? 10 : 11)),
                Pick(Class(Chance(0.5) ? halfSymbol : fullSymbol))};
      case 2: {  // width changes around a symbol
        const bool half = Chance(0.5);
        return {Pick(Class(half ? HalfClass() : FullClass())), Pick(Class(half ? fullSymbol : halfSymbol)),
                Pick(Class(half ? HalfClass() : FullClass()))};
      }
      case 3:  // full-width voiced kana
        return {Pick(Chance(0.5) ? m_pools.VoicedHiragana() : m_pools.VoicedKatakana())};
      case 4:  // half-width kana with its mark
        return {Pick(Class(3)), Pick(m_pools.HalfMarks())};
      default:  // any character at all
        return {Pick(Class(Uniform(1, 11)))};
    }
  }

  int HalfClass() { return 3 + 2 * Uniform(0, 4); }  // 3 5 7 9 11
  int FullClass() { return 2 * Uniform(1, 5); }      // 2 4 6 8 10

  int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(m_random); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(m_random); }
  const std::string& Pick(const std::vector<std::string>& from) {
    return from[static_cast<std::size_t>(Uniform(0, static_cast<int>(from.size()) - 1))];
  }

  static std::string ToUtf8(const std::string& cp932) {
    const std::optional<std::string> utf8 = Cp932ToUtf8(cp932);
    return utf8 ? *utf8 : std::string("<not CP932>");
  }

  const CharPools& m_pools;
  std::mt19937 m_random;
};


// A random album as users keep it in a file, which holds more than the device
// can enter: kana and Latin letters and digits of both widths, symbols, kanji
// (one in ten of the second level or NEC's rows). Half of the albums have a few
// fields of one to three characters, half many of up to 32 bytes.
inline EditedAlbum FileAlbum(const CharPools& pools, std::mt19937& random) {
  const auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
  const auto piece = [&]() -> std::string {
    const int kind = uniform(0, 9);
    if (kind < 8) {
      const std::vector<std::string>& pool = pools.Class(std::array<int, 8>{1, 2, 3, 4, 5, 6, 7, 9}[kind]);
      const std::string& character = pool[static_cast<std::size_t>(uniform(0, static_cast<int>(pool.size()) - 1))];
      return character == "," ? "." : character;
    }
    for (;;) {
      const int lead = kind == 8 ? (uniform(0, 4) ? 0x81 : 0x87) : uniform(0, 9) ? uniform(0x88, 0x98) : uniform(0xE0, 0xEE);
      const std::string code{static_cast<char>(lead), static_cast<char>(uniform(0x40, 0xFC))};
      if (Cp932ToUtf8(code)) return code;
    }
  };
  const bool small = uniform(0, 1);
  const auto text = [&](bool named) {
    std::string cp932;
    if (!named && uniform(0, 9) < (small ? 7 : 2)) return cp932;
    for (int n = small ? uniform(1, 3) : 32, bytes = uniform(2, 32); n > 0 && static_cast<int>(cp932.size()) + 2 <= bytes; --n) {
      cp932 += piece();
    }
    return *Cp932ToUtf8(cp932);
  };
  EditedAlbum album;
  for (std::string* field : {&album.title, &album.yomi, &album.artist}) *field = text(false);
  const int tracks = small ? uniform(0, 2) : uniform(3, kTrackCount);
  for (int r = 0; r < tracks; ++r) album.rows[static_cast<std::size_t>(r)] = {text(true), text(false), true};
  return album;
}

}  // namespace vrellix::testing
