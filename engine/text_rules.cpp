#include "text_rules.h"

#include <algorithm>

namespace renkomi {
namespace {

// Character codes as the rules compare them: first byte high, second byte low.
constexpr unsigned kFirstKanji = 0x889F;    // 亜
constexpr unsigned kFirstHiragana = 0x82A0; // あ
constexpr unsigned kLastHiragana = 0x82F1;  // ん

unsigned CodeAt(std::string_view text, std::size_t bytePos) {
  return (static_cast<unsigned char>(text[bytePos]) << 8) |
         static_cast<unsigned char>(text[bytePos + 1]);
}

std::size_t CharCount(std::string_view text) { return text.size() / 2; }

// The byte span of characters start..start+count-1 (1-based), clipped to the text.
std::string_view MidView(std::string_view text, std::size_t start, std::size_t count) {
  const std::size_t n = CharCount(text);
  if (count == 0 || start > n) return {};
  std::size_t first = start;
  std::size_t last = (count - 1 > n - start) ? n : start + count - 1;
  if (first == 0) {
    // Position 0 lies before the first character; only what reaches into the
    // text is taken.
    if (last == 0) return {};
    first = 1;
  }
  return text.substr((first - 1) * 2, (last - first + 1) * 2);
}

std::string_view RightView(std::string_view text, std::size_t count) {
  const std::size_t n = CharCount(text);
  if (n < count) return text;
  return MidView(text, n - count + 1, count);
}

// True when every character's code lies in [low, high].
bool AllCharsWithin(std::string_view text, unsigned low, unsigned high) {
  if (text.empty() || !IsDoubleByteText(text)) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    const unsigned code = CodeAt(text, i);
    if (code < low || code > high) return false;
  }
  return true;
}

}  // namespace

bool IsLeadByte(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }

bool IsTrailByte(unsigned char b) { return b >= 0x40 && b <= 0xFC; }

bool IsDoubleByteText(std::string_view text) {
  if (text.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < text.size(); i += 2) {
    if (!IsLeadByte(static_cast<unsigned char>(text[i])) ||
        !IsTrailByte(static_cast<unsigned char>(text[i + 1])))
      return false;
  }
  return true;
}

std::string MidChars(std::string_view text, std::size_t start, std::size_t count) {
  return std::string(MidView(text, start, count));
}

std::string LeftChars(std::string_view text, std::size_t count) {
  return std::string(MidView(text, 1, count));
}

std::string RightChars(std::string_view text, std::size_t count) {
  return std::string(RightView(text, count));
}

bool IsChained(std::string_view previous, std::string_view next) {
  // Runs once per dictionary entry on every computer turn, so it compares views
  // instead of building the two one-character strings.
  return RightView(previous, 1) == MidView(next, 1, 1);
}

bool IsJukugo(std::string_view text) { return AllCharsWithin(text, kFirstKanji, 0xFFFF); }

bool IsYomi(std::string_view text) { return AllCharsWithin(text, kFirstHiragana, kLastHiragana); }

bool HoldsControlCharacter(std::string_view text) {
  return std::any_of(text.begin(), text.end(), [](char c) {
    const auto b = static_cast<unsigned char>(c);
    return b < 0x20 || b == 0x7F;
  });
}

}  // namespace renkomi
