#include "word_list.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <utility>

#include "errors.h"
#include "test_support.h"

namespace renkomi {
namespace {

using test::PrintTo;

using test::Sj;

struct EqualRow {
  const char* name;
  std::string a;
  std::string b;
  bool equal;
};

class EqualIgnoringCaseTest : public testing::TestWithParam<EqualRow> {};

TEST_P(EqualIgnoringCaseTest, BothOrders) {
  EXPECT_EQ(EqualIgnoringCase(GetParam().a, GetParam().b), GetParam().equal);
  EXPECT_EQ(EqualIgnoringCase(GetParam().b, GetParam().a), GetParam().equal);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, EqualIgnoringCaseTest,
    testing::Values(
        EqualRow{"AsciiCase", "Renkomi", "rENKOMI", true},
        EqualRow{"AsciiDifferent", "abc", "abd", false},
        EqualRow{"DifferentLength", "abc", "abcd", false},
        EqualRow{"BothEmpty", "", "", true},
        // 陰 0x89 0x41 and 餌 0x89 0x61: the trail bytes look like 'A' and 'a'.
        EqualRow{"InIsNotE", "\x89\x41", "\x89\x61", false},
        EqualRow{"InIsNotEAfterLetter", "x\x89\x41", "X\x89\x61", false},
        EqualRow{"LetterBeforeKanjiFolds", "A\x89\x41", "a\x89\x41", true},
        EqualRow{"LetterAfterKanjiFolds", "\x89\x41Q", "\x89\x41q", true},
        EqualRow{"FullWidthLettersExact", Sj("Ａ"), Sj("ａ"), false},
        EqualRow{"KanaExact", Sj("か"), Sj("が"), false},
        EqualRow{"HalfWidthKatakanaExact", "\xB1", "\xB2", false},
        EqualRow{"NonLettersNotFolded", "@", "`", false},
        EqualRow{"BracketsNotFolded", "[", "{", false},
        EqualRow{"LeadByteAtEnd", "a\x89", "A\x89", true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(WordListTest, FindGivesFirstMatchOrMinusOne) {
  WordList list(std::vector<std::string>{"\x89\x61", "abc", "\x89\x41", "ABC"});
  EXPECT_EQ(list.Find("\x89\x41"), 2);  // 陰, not 餌 at 0
  EXPECT_EQ(list.Find("\x89\x61"), 0);
  EXPECT_EQ(list.Find("aBc"), 1);
  EXPECT_EQ(list.Find("ab"), -1);
  EXPECT_EQ(WordList().Find(""), -1);
  list.Append("");
  EXPECT_EQ(list.Find(""), 4);
}

TEST(WordListTest, GetOutsideTheListThrowsIndexError) {
  const WordList list(std::vector<std::string>{"a", "b"});
  EXPECT_EQ(list.Get(1), "b");
  for (long long index : {-1LL, 2LL, 1000LL}) {
    EXPECT_EQ(test::ErrorOf([&] { list.Get(index); }),
              "リストのインデックスが範囲を超えています (" + std::to_string(index) + ")");
  }
}

TEST(WordListTest, DeleteOutsideTheListDoesNothing) {
  WordList list(std::vector<std::string>{"a", "b", "c"});
  list.Delete(-1);
  list.Delete(3);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"a", "b", "c"}));
  list.Delete(1);
  EXPECT_EQ(list.Entries(), (std::vector<std::string>{"a", "c"}));
}

TEST(WordListTest, PairChangesBothListsTogether) {
  WordListPair pair;
  pair.Append("j1", "y1");
  pair.Append("j2", "y2");
  pair.Append("j3", "y3");
  pair.Delete(1);
  EXPECT_EQ(pair.jukugo().Entries(), (std::vector<std::string>{"j1", "j3"}));
  EXPECT_EQ(pair.yomi().Entries(), (std::vector<std::string>{"y1", "y3"}));
  pair.Delete(7);
  EXPECT_EQ(pair.jukugo().Count(), 2u);
  EXPECT_EQ(pair.yomi().Count(), 2u);
  pair.Clear();
  EXPECT_EQ(pair.jukugo().Count() + pair.yomi().Count(), 0u);
}

// Two lists of different lengths never become a pair, whichever is longer: no
// jukugo is ever shifted against its reading. Even lists replace the pair whole,
// and handing them over leaves the pair empty.
TEST(WordListTest, PairTakesOnlyListsOfOneLength) {
  const std::pair<const char*, PairLines> uneven[] = {
      {"MoreJukugo", {{"j2", "j3"}, {"y2"}}},
      {"MoreYomi", {{"j2"}, {"y2", "y3"}}},
  };
  WordListPair pair;
  pair.Append("j1", "y1");
  const WordListPair before = pair;
  for (const auto& [name, lines] : uneven) {
    EXPECT_THROW(pair.Assign(lines), std::invalid_argument) << name;
    EXPECT_EQ(pair, before) << name;
  }
  const PairLines even{{"j2", "j3"}, {"y2", "y3"}};
  pair.Assign(even);
  EXPECT_EQ(pair.Get(1), (WordPair{"j3", "y3"}));
  EXPECT_EQ(pair.Release(), even);
  EXPECT_EQ(pair.jukugo().Count() + pair.yomi().Count(), 0u);
}

}  // namespace
}  // namespace renkomi
