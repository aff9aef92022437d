// The double-byte word rules. They judge CP932 text by its bytes, cutting it into
// two-byte characters from the first byte on without decoding it; nothing here
// converts, keeps state or fails. Texts of any length are judged whole.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace renkomi {

bool IsLeadByte(unsigned char b);
bool IsTrailByte(unsigned char b);

// A single-byte letter A-Z as a-z; any other byte as it is. Names and words are
// compared with letter case ignored only in single-byte letters.
inline unsigned char FoldAscii(unsigned char c) {
  return (c >= 'A' && c <= 'Z') ? static_cast<unsigned char>(c - 'A' + 'a') : c;
}

// True when the text is a whole sequence of lead/trail byte pairs (the empty text too).
bool IsDoubleByteText(std::string_view text);

// Up to `count` characters from the 1-based character `start`; empty past the end.
std::string MidChars(std::string_view text, std::size_t start, std::size_t count);
std::string LeftChars(std::string_view text, std::size_t count);
// The last `count` characters, or the whole text (odd byte included) when it has fewer.
std::string RightChars(std::string_view text, std::size_t count);

// The last character of `previous` is the first character of `next`, byte for byte.
bool IsChained(std::string_view previous, std::string_view next);

// Kanji only: every character at or above 0x889F.
bool IsJukugo(std::string_view text);
// Hiragana only: every character between 0x82A0 and 0x82F1.
bool IsYomi(std::string_view text);

// A byte below 0x20 or DEL: a line break, a NUL, a tab, or the SUB that stands
// for a character CP932 cannot hold. No CP932 character has such a byte, not
// even as its second byte, so no text holding one ever enters a word list.
bool HoldsControlCharacter(std::string_view text);

}  // namespace renkomi
