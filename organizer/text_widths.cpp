#include "text_widths.h"

#include <algorithm>
#include <functional>

#include "text.h"
#include "text_rules.h"

namespace renkomi::organizer {

TextWidths::TextWidths(const QFontMetrics& metrics) : metrics_(metrics) { advances_.fill(-1); }

int TextWidths::Estimate(const std::string& cp932, std::size_t& bytesEstimated) {
  int sum = 0;
  std::size_t at = 0;
  while (at < cp932.size() && sum < kWidest) {
    const auto lead = static_cast<unsigned char>(cp932[at]);
    const std::size_t length = renkomi::IsLeadByte(lead) && at + 1 < cp932.size() ? 2 : 1;
    std::int16_t& advance = advances_[lead];
    if (advance < 0) {
      const int measured = metrics_.horizontalAdvance(renkomi::ui::FromGame(cp932.substr(at, length)));
      advance = static_cast<std::int16_t>(std::clamp(measured, 0, kWidest));
    }
    sum += advance;
    at += length;
  }
  bytesEstimated = at;
  return std::min(sum, kWidest);
}

int TextWidths::Widest(const std::vector<WordPair>& words, std::string WordPair::*text) {
  struct Candidate {
    int estimate;
    std::size_t bytes;
    const std::string* text;
    bool operator>(const Candidate& other) const { return estimate > other.estimate; }
  };
  // The widest estimates so far, the narrowest of them first.
  std::vector<Candidate> widest;
  widest.reserve(kMeasured + 1);
  for (const WordPair& word : words) {
    std::size_t bytes = 0;
    const int estimate = Estimate(word.*text, bytes);
    if (widest.size() == kMeasured && estimate <= widest.front().estimate) continue;
    widest.push_back({estimate, bytes, &(word.*text)});
    std::push_heap(widest.begin(), widest.end(), std::greater<>());
    if (widest.size() > kMeasured) {
      std::pop_heap(widest.begin(), widest.end(), std::greater<>());
      widest.pop_back();
    }
  }
  int measured = 0;
  for (const Candidate& candidate : widest) {
    const QString shown = renkomi::ui::FromGame(candidate.text->substr(0, candidate.bytes));
    measured = std::max(measured, metrics_.horizontalAdvance(shown));
  }
  return std::min(measured, kWidest);
}

}  // namespace renkomi::organizer
