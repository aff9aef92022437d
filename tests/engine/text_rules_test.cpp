#include "text_rules.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "test_support.h"

namespace renkomi {
namespace {

using test::PrintTo;

using test::Sj;

struct ByteRow {
  const char* name;
  unsigned char byte;
  bool lead;
  bool trail;
};

class ByteClassTest : public testing::TestWithParam<ByteRow> {};

TEST_P(ByteClassTest, LeadAndTrail) {
  EXPECT_EQ(IsLeadByte(GetParam().byte), GetParam().lead);
  EXPECT_EQ(IsTrailByte(GetParam().byte), GetParam().trail);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ByteClassTest,
    testing::Values(ByteRow{"x00", 0x00, false, false}, ByteRow{"x3F", 0x3F, false, false},
                    ByteRow{"x40", 0x40, false, true}, ByteRow{"x7E", 0x7E, false, true},
                    ByteRow{"x7F", 0x7F, false, true}, ByteRow{"x80", 0x80, false, true},
                    ByteRow{"x81", 0x81, true, true}, ByteRow{"x9F", 0x9F, true, true},
                    ByteRow{"xA0", 0xA0, false, true}, ByteRow{"xDF", 0xDF, false, true},
                    ByteRow{"xE0", 0xE0, true, true}, ByteRow{"xFC", 0xFC, true, true},
                    ByteRow{"xFD", 0xFD, false, false}, ByteRow{"xFF", 0xFF, false, false}),
    [](const auto& info) { return std::string(info.param.name); });

struct TextRow {
  const char* name;
  std::string text;
  bool doubleByte;
  bool jukugo;
  bool yomi;
};

class TextTestsTest : public testing::TestWithParam<TextRow> {};

TEST_P(TextTestsTest, Judged) {
  const auto& row = GetParam();
  EXPECT_EQ(IsDoubleByteText(row.text), row.doubleByte);
  EXPECT_EQ(IsJukugo(row.text), row.jukugo);
  EXPECT_EQ(IsYomi(row.text), row.yomi);
}

std::string Repeat(const std::string& unit, int times) {
  std::string s;
  for (int i = 0; i < times; ++i) s += unit;
  return s;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, TextTestsTest,
    testing::Values(
        TextRow{"Empty", "", true, false, false},
        TextRow{"OneByte", "a", false, false, false},
        TextRow{"Nihon", Sj("日本"), true, true, false},
        TextRow{"LowestKanji", "\x88\x9F", true, true, false},
        TextRow{"JustBelowKanji", "\x88\x9E", true, false, false},
        TextRow{"UserDefinedArea", "\xF0\x40", true, true, false},
        TextRow{"KanjiThenHiragana", Sj("日ほん"), true, false, false},
        TextRow{"IterationMark", Sj("人々"), true, false, false},
        TextRow{"FullWidthLatin", Sj("ＡＢ"), true, false, false},
        TextRow{"KanjiPlusAscii", Sj("日本") + "a", false, false, false},
        // What a jukugo box may hold at the byte boundary: one kanji and one byte.
        TextRow{"OneKanjiPlusAscii", Sj("日") + "a", false, false, false},
        TextRow{"AsciiPlusOneKanji", "a" + Sj("日"), false, false, false},
        TextRow{"OneHiraganaPlusAscii", Sj("に") + "a", false, false, false},
        TextRow{"HalfWidthKatakana", "\xB1\xB2", false, false, false},
        TextRow{"UnassignedPair", "\x88\x7F", true, false, false},
        TextRow{"Hiragana", Sj("にほん"), true, false, true},
        TextRow{"FirstHiragana", Sj("あ"), true, false, true},
        TextRow{"LastHiragana", Sj("ん"), true, false, true},
        TextRow{"SmallKana", Sj("きゃっ"), true, false, true},
        TextRow{"SmallA", Sj("ぁ"), true, false, false},
        TextRow{"LongVowel", Sj("ー"), true, false, false},
        TextRow{"Katakana", Sj("ニホン"), true, false, false},
        TextRow{"AsciiSpace", Sj("に ほん"), false, false, false},
        TextRow{"Kousan", Sj("こうさん"), true, false, true},
        // Longer than 254 bytes: judged whole, a wrong character far out included.
        TextRow{"LongKanji300Bytes", Repeat(Sj("漢"), 150), true, true, false},
        TextRow{"LongKanjiWithKanaAt140", Repeat(Sj("漢"), 139) + Sj("か") + Repeat(Sj("漢"), 10),
                true, false, false},
        TextRow{"LongHiraganaWithKanjiAtEnd", Repeat(Sj("か"), 200) + Sj("日"), true, false,
                false}),
    [](const auto& info) { return std::string(info.param.name); });

struct SliceRow {
  const char* name;
  std::string actual;
  std::string expected;
};

class SliceTest : public testing::TestWithParam<SliceRow> {};

TEST_P(SliceTest, Result) { EXPECT_EQ(GetParam().actual, GetParam().expected); }

constexpr std::size_t kHuge = std::numeric_limits<std::size_t>::max();

INSTANTIATE_TEST_SUITE_P(
    Chars, SliceTest,
    testing::Values(
        SliceRow{"MidSecond", MidChars(Sj("日本語"), 2, 1), Sj("本")},
        SliceRow{"MidCountPastEnd", MidChars(Sj("日本語"), 2, 5), Sj("本語")},
        SliceRow{"MidStartPastEnd", MidChars(Sj("日本語"), 4, 1), ""},
        SliceRow{"MidCountZero", MidChars(Sj("日本語"), 1, 0), ""},
        SliceRow{"MidHugeCountNoOverflow", MidChars(Sj("日本語"), 2, kHuge), Sj("本語")},
        SliceRow{"MidHugeStart", MidChars(Sj("日本語"), kHuge, kHuge), ""},
        SliceRow{"MidOddLengthDropsLastByte", MidChars(Sj("日本") + "a", 1, 3), Sj("日本")},
        SliceRow{"MidDoesNotDecode", MidChars("a\x93\xFA", 1, 1), "a\x93"},
        SliceRow{"LeftTwo", LeftChars(Sj("日本語"), 2), Sj("日本")},
        SliceRow{"LeftOfOneByte", LeftChars("a", 1), ""},
        SliceRow{"LeftCutsTheOddByte", LeftChars(Sj("日") + "a", 2), Sj("日")},
        SliceRow{"LeftCountZero", LeftChars(Sj("日本"), 0), ""},
        SliceRow{"MidLastChar", MidChars(Sj("日本語"), 3, 1), Sj("語")},
        SliceRow{"MidJustPastEnd", MidChars(Sj("日本"), 3, 1), ""},
        SliceRow{"MidPositionZeroReachesFirst", MidChars(Sj("日本"), 0, 2), Sj("日")},
        SliceRow{"MidPositionZeroReachesNothing", MidChars(Sj("日本"), 0, 1), ""},
        SliceRow{"RightOneOfOneKanjiPlusAscii", RightChars(Sj("日") + "a", 1), Sj("日")},
        SliceRow{"RightExactlyAll", RightChars(Sj("日本"), 2), Sj("日本")},
        SliceRow{"RightTwo", RightChars(Sj("日本語"), 2), Sj("本語")},
        SliceRow{"RightMoreThanLength", RightChars(Sj("日本"), 5), Sj("日本")},
        SliceRow{"RightOddLength", RightChars(Sj("日本") + "a", 1), Sj("本")},
        SliceRow{"RightOfOneByte", RightChars("a", 1), "a"},
        SliceRow{"RightShortKeepsOddByte", RightChars(Sj("日") + "a", 2), Sj("日") + "a"},
        SliceRow{"RightCountZero", RightChars(Sj("日本"), 0), ""},
        SliceRow{"RightOfLongText", RightChars(Repeat(Sj("漢"), 200) + Sj("字"), 1), Sj("字")}),
    [](const auto& info) { return std::string(info.param.name); });

struct ChainRow {
  const char* name;
  std::string previous;
  std::string next;
  bool chained;
};

class ChainTest : public testing::TestWithParam<ChainRow> {};

TEST_P(ChainTest, IsChained) {
  EXPECT_EQ(IsChained(GetParam().previous, GetParam().next), GetParam().chained);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, ChainTest,
    testing::Values(ChainRow{"NihonHonjitsu", Sj("日本"), Sj("本日"), true},
                    ChainRow{"SameWordNotChained", Sj("日本"), Sj("日本"), false},
                    ChainRow{"HonjitsuNihon", Sj("本日"), Sj("日本"), true},
                    ChainRow{"BothEmpty", "", "", true},
                    ChainRow{"EmptyPreviousOneByteNext", "", "a", true},
                    ChainRow{"EmptyPreviousTwoByteNext", "", Sj("日"), false},
                    ChainRow{"EmptyNext", Sj("日本"), "", false},
                    ChainRow{"OddPreviousLastWholeChar", Sj("日本") + "a", Sj("本日"), true},
                    ChainRow{"OneKanjiPlusAsciiPrevious", Sj("日") + "a", Sj("日本"), true},
                    ChainRow{"OneKanjiPlusAsciiNext", Sj("本日"), Sj("日") + "a", true},
                    ChainRow{"OneBytePreviousNeverChains", "a", "a", false},
                    ChainRow{"CaseIsNotFolded", "\x89\x41", "\x89\x61", false},
                    ChainRow{"LongPrevious", Repeat(Sj("漢"), 200) + Sj("字"), Sj("字体"), true}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace renkomi
