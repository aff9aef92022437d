// The characters of a source word that the game can take: a jukugo is two or more
// ideographs that CP932 holds, a reading is hiragana, and both are judged by the
// game's own word rules so that every pair generated is one the player could type.
#pragma once

#include <string>
#include <string_view>

namespace renkomi {

// True for text of at least two characters, each a CJK ideograph: the unified
// block U+4E00-U+9FFF, extension A U+3400-U+4DBF and the compatibility block
// U+F900-U+FAFF (where CP932 keeps a few kanji such as U+FA11). Marks such as
// U+3005 and U+3007 and the CP932 symbols that sort among the kanji (small Roman
// numerals, U+FFE4) are not ideographs.
bool IsIdeographWord(std::string_view utf8);

// Katakana U+30A1-U+30F6 become the hiragana 0x60 below them; anything else,
// the long-vowel mark included, stays as it is.
std::string KatakanaToHiragana(std::string_view utf8);

// The CP932 jukugo for a spelling, or empty when the game could not take it.
std::string JukugoFor(std::string_view spelling);
// The CP932 hiragana reading for a reading in kana, or empty when the game could
// not take it.
std::string YomiFor(std::string_view reading);

}  // namespace renkomi
