#include "text_widths.h"

#include <algorithm>

#include "text.h"
#include "text_rules.h"

namespace renkomi::organizer {

TextWidths::TextWidths(const QFontMetrics& metrics) : metrics_(metrics), advances_(0x10000, -1) {}

int TextWidths::Advance(unsigned code, const std::string& character) {
  std::int16_t& advance = advances_[code];
  if (advance < 0) {
    const int measured = metrics_.horizontalAdvance(renkomi::ui::FromGame(character));
    advance = static_cast<std::int16_t>(std::clamp(measured, 0, static_cast<int>(INT16_MAX)));
  }
  return advance;
}

int TextWidths::Sum(const std::string& cp932, std::size_t& bytesMeasured) {
  int sum = 0;
  std::size_t at = 0;
  while (at < cp932.size() && sum < kWidest) {
    const auto lead = static_cast<unsigned char>(cp932[at]);
    const bool doubleByte = renkomi::IsLeadByte(lead) && at + 1 < cp932.size();
    const std::size_t length = doubleByte ? 2 : 1;
    const unsigned code =
        doubleByte ? (lead << 8) | static_cast<unsigned char>(cp932[at + 1]) : static_cast<unsigned>(lead);
    sum += Advance(code, cp932.substr(at, length));
    at += length;
  }
  bytesMeasured = at;
  return std::min(sum, kWidest);
}

int TextWidths::Width(const std::string& cp932) {
  std::size_t bytes = 0;
  return Sum(cp932, bytes);
}

int TextWidths::Widest(const std::vector<WordPair>& words, std::string WordPair::*text) {
  int widest = 0;
  const std::string* widestText = nullptr;
  std::size_t widestBytes = 0;
  for (const WordPair& word : words) {
    std::size_t bytes = 0;
    const int width = Sum(word.*text, bytes);
    if (width > widest) {
      widest = width;
      widestText = &(word.*text);
      widestBytes = bytes;
    }
  }
  if (widestText == nullptr) return 0;
  // Kerning and the like can make the whole text wider than its characters.
  const int whole = metrics_.horizontalAdvance(renkomi::ui::FromGame(widestText->substr(0, widestBytes)));
  return std::min(std::max(widest, whole), kWidest);
}

}  // namespace renkomi::organizer
