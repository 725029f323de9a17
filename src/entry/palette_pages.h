// The pages of the device's character palette, in the order KEY_PALLET steps
// through them; from the last it comes back to the first.
#pragma once

namespace vrellix {

constexpr int kHiraganaPage = 0;
constexpr int kKatakanaPage = 1;  // full- and half-width katakana
constexpr int kDigitPage = 2;
constexpr int kLetterPage = 3;
constexpr int kSymbolPage = 4;
constexpr int kLastPalletPage = 5;  // holds nothing the program enters
constexpr int kPalletPageCount = kLastPalletPage + 1;

}  // namespace vrellix
