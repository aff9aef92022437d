// How many pixels the widest of the organizer's texts takes in the table's font.
// A large dictionary holds a hundred thousand words, and measuring each of its
// thousands of kanji through the font holds up the first opening; so every text
// is first estimated from one measured character per CP932 lead byte (the kanji
// of a Japanese font share one advance), and only the widest few estimates are
// measured whole through the font's metrics.
#pragma once

#include <array>
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
  // How many of the widest estimates are measured whole.
  static constexpr std::size_t kMeasured = 16;

  explicit TextWidths(const QFontMetrics& metrics);

  // The width of the widest jukugo (or reading) of the words, at most kWidest;
  // 0 for none.
  int Widest(const std::vector<WordPair>& words, std::string WordPair::*text);

 private:
  // The estimate, and how many bytes it took to reach kWidest.
  int Estimate(const std::string& cp932, std::size_t& bytesEstimated);

  QFontMetrics metrics_;
  // A single byte's advance by its value; a double-byte character's by its lead
  // byte, from the first such character met. -1 until measured.
  std::array<std::int16_t, 256> advances_;
};

}  // namespace renkomi::organizer
