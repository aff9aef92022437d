// The character's lines: the table must hold the game's texts byte for byte in the
// game's code page, since the bubble and the word rules both work on those bytes.
#include "message_sets.h"

#include <gtest/gtest.h>

#include <QString>
#include <map>
#include <stdexcept>
#include <utility>

#include "cp932.h"
#include "text.h"

namespace {

using renkomi::ui::GetMessageSet;
using renkomi::ui::kMessageLines;
using renkomi::ui::kMessageSetCount;

QString Line(int set, int line) {
  const std::u16string_view text = GetMessageSet(set)[static_cast<std::size_t>(line)];
  return QString::fromUtf16(text.data(), static_cast<qsizetype>(text.size()));
}

int LeadingFullWidthSpaces(const QString& line) {
  int count = 0;
  while (count < line.size() && line[count] == QChar(0x3000)) ++count;
  return count;
}

TEST(MessageSetsTest, EveryLineIsCp932TextThatFitsTheBubble) {
  for (int set = 1; set <= kMessageSetCount; ++set) {
    for (int line = 0; line < kMessageLines; ++line) {
      SCOPED_TRACE(testing::Message() << "set " << set << " line " << line);
      const QString text = Line(set, line);
      EXPECT_TRUE(renkomi::IsCp932Encodable(text.toStdString()));
      EXPECT_FALSE(text.contains(QLatin1Char(' ')));
      const std::size_t bytes = renkomi::ui::ToGame(text).size();
      // Only set 4 line 3 takes thirteen full-width characters.
      if (set == 4 && line == 3) {
        EXPECT_EQ(bytes, 26u);
      } else {
        EXPECT_LE(bytes, 24u);
      }
    }
  }
}

TEST(MessageSetsTest, FullWidthSpacesStandOnlyWhereTheTableHasThem) {
  // Every indented line of the table, and how deep; all others start with text.
  const std::map<std::pair<int, int>, int> indented{
      {{3, 0}, 1},  {{3, 6}, 1},  {{4, 5}, 1},  {{5, 5}, 1},  {{6, 0}, 1},  {{6, 1}, 2},
      {{6, 5}, 1},  {{7, 0}, 1},  {{7, 1}, 2},  {{7, 5}, 1},  {{8, 0}, 1},  {{8, 1}, 1},
      {{8, 3}, 1},  {{9, 0}, 1},  {{9, 3}, 1},  {{9, 5}, 1},  {{10, 0}, 1}, {{10, 3}, 1},
      {{11, 0}, 1}, {{12, 3}, 1}, {{13, 0}, 1}, {{13, 3}, 1}, {{14, 0}, 1}, {{14, 2}, 6},
      {{15, 0}, 1}, {{16, 0}, 1}, {{17, 0}, 1}, {{17, 1}, 2}, {{17, 4}, 1}, {{17, 6}, 3}};
  int inner = 0;
  for (int set = 1; set <= kMessageSetCount; ++set) {
    for (int line = 0; line < kMessageLines; ++line) {
      SCOPED_TRACE(testing::Message() << "set " << set << " line " << line);
      const QString text = Line(set, line);
      const auto it = indented.find({set, line});
      const int lead = LeadingFullWidthSpaces(text);
      EXPECT_EQ(lead, it == indented.end() ? 0 : it->second);
      inner += static_cast<int>(text.mid(lead).count(QChar(0x3000)));
    }
  }
  EXPECT_EQ(inner, 1);
  EXPECT_EQ(Line(16, 4), QStringLiteral("んだ。　だから、"));
}

TEST(MessageSetsTest, SpotChecksAgainstTheGamesWords) {
  EXPECT_EQ(Line(4, 3), QStringLiteral("言葉を教えてくれるんだね。"));
  EXPECT_EQ(Line(11, 6), QStringLiteral("はダメだよ。"));
  EXPECT_EQ(Line(9, 6), QString());
  EXPECT_EQ(Line(19, 1), QStringLiteral("▼をおして、辞書をえらん"));
  EXPECT_EQ(Line(17, 2), QStringLiteral("《こうさん》だなんて☆"));
  EXPECT_EQ(renkomi::ui::ToGame(Line(14, 2)).substr(0, 12),
            std::string("\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40", 12));
}

TEST(MessageSetsTest, NumbersOutsideTheTableAreRefused) {
  EXPECT_THROW(GetMessageSet(0), std::out_of_range);
  EXPECT_THROW(GetMessageSet(20), std::out_of_range);
  EXPECT_NO_THROW(GetMessageSet(1));
  EXPECT_NO_THROW(GetMessageSet(19));
}

}  // namespace
