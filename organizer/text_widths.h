// How many pixels the organizer's texts take in the table's font, from the font's
// own metrics. A large dictionary holds a hundred thousand words; shaping each of
// them would hold up the opening for seconds, so every CP932 character is measured
// once and a text's width is the sum of its characters' advances.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include <QFontMetrics>

#include "word_list.h"

namespace renkomi::organizer {

class TextWidths {
 public:
  // No column is ever wider than this, whatever the screen: longer texts are
  // measured only this far, so an entry of megabytes costs no more than a line.
  static constexpr int kWidest = 4096;

  explicit TextWidths(const QFontMetrics& metrics);

  // The width of the text, at most kWidest.
  int Width(const std::string& cp932);
  // The width of the widest jukugo (or reading) of the words; 0 for none. The
  // widest by the sum of its characters is measured again as one text, so the
  // figure is never below what the font draws.
  int Widest(const std::vector<WordPair>& words, std::string WordPair::*text);

 private:
  // The sum of the advances, and how many bytes it took to reach kWidest.
  int Sum(const std::string& cp932, std::size_t& bytesMeasured);
  int Advance(unsigned code, const std::string& character);

  QFontMetrics metrics_;
  std::vector<std::int16_t> advances_;  // by character code; -1 until measured
};

}  // namespace renkomi::organizer
