#include "cp932.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include "text_rules.h"
#include "texts.h"

namespace renkomi {
namespace {

using test::PrintTo;

struct KnownBytes {
  const char* name;
  const char* utf8;
  std::string cp932;
};

class Cp932KnownTest : public testing::TestWithParam<KnownBytes> {};

TEST_P(Cp932KnownTest, BothWays) {
  EXPECT_EQ(Utf8ToCp932(GetParam().utf8), GetParam().cp932);
  EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().utf8);
  EXPECT_TRUE(IsCp932Encodable(GetParam().utf8));
}

// Characters that only the Windows code page has (～ ① 髙 﨑) must survive.
INSTANTIATE_TEST_SUITE_P(
    Table, Cp932KnownTest,
    testing::Values(KnownBytes{"Kanji", "日本", "\x93\xFA\x96\x7B"},
                    KnownBytes{"FirstKanji", "亜", "\x88\x9F"},
                    KnownBytes{"Hiragana", "こうさん", "\x82\xB1\x82\xA4\x82\xB3\x82\xF1"},
                    KnownBytes{"SmallA", "ぁ", "\x82\x9F"},
                    KnownBytes{"LongVowel", "ー", "\x81\x5B"},
                    KnownBytes{"WaveDash", "～", "\x81\x60"},
                    KnownBytes{"CircledOne", "①", "\x87\x40"},
                    KnownBytes{"TakaVariant", "髙", "\xFB\xFC"},
                    KnownBytes{"SakiVariant", "﨑", "\xFA\xB1"},
                    KnownBytes{"In", "陰", "\x89\x41"},
                    KnownBytes{"E", "餌", "\x89\x61"},
                    KnownBytes{"HalfWidthKatakana", "ｱ", "\xB1"},
                    KnownBytes{"Ascii", "abc 1", "abc 1"},
                    KnownBytes{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

struct Substitution {
  const char* name;
  std::string utf8;
  std::string cp932;
};

class Utf8SubstitutionTest : public testing::TestWithParam<Substitution> {};

// What CP932 cannot hold becomes SUB, one control byte, so the text can never
// pass the kanji or hiragana test and is never stored.
TEST_P(Utf8SubstitutionTest, BecomesSubstituteControl) {
  const std::string converted = Utf8ToCp932(GetParam().utf8);
  EXPECT_EQ(converted, GetParam().cp932);
  EXPECT_FALSE(IsJukugo(converted));
  EXPECT_FALSE(IsYomi(converted));
  EXPECT_TRUE(HoldsControlCharacter(converted));
  EXPECT_FALSE(IsCp932Encodable(GetParam().utf8));
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Utf8SubstitutionTest,
    testing::Values(
        Substitution{"EmojiBetweenKanji", "日\xF0\x9F\x98\x80本", "\x93\xFA\x1A\x96\x7B"},
        Substitution{"EmojiAlone", "\xF0\x9F\x98\x80", "\x1A"},
        Substitution{"TwoEmojiInHiragana", "に\xF0\x9F\x98\x80\xF0\x9F\x98\x80ほん",
                     "\x82\xC9\x1A\x1A\x82\xD9\x82\xF1"},
        Substitution{"Hangul", "한", "\x1A"},
        // iconv itself drops the tag characters U+E0000 to U+E007F without a word.
        Substitution{"TagCharactersAfterKanji", "日本\xF3\xA0\x80\x81\xF3\xA0\x81\xBF", "\x93\xFA\x96\x7B\x1A\x1A"},
        Substitution{"TagCharacterInsideHiragana", "に\xF3\xA0\x81\x81ほ", "\x82\xC9\x1A\x82\xD9"},
        Substitution{"StrayContinuationByte", "に\x80ほ", "\x82\xC9\x1A\x82\xD9"},
        Substitution{"CutSequenceAtEnd", std::string("日") + "\xE6\x97", "\x93\xFA\x1A\x1A"},
        Substitution{"Overlong", "\xC0\xAF", "\x1A\x1A"},
        Substitution{"Surrogate", "\xED\xA0\x80", "\x1A\x1A\x1A"}),
    [](const auto& info) { return std::string(info.param.name); });

struct Damaged {
  const char* name;
  std::string cp932;
  std::string utf8;
};

class Cp932DamagedTest : public testing::TestWithParam<Damaged> {};

TEST_P(Cp932DamagedTest, BecomesReplacementCharacter) {
  EXPECT_EQ(Cp932ToUtf8(GetParam().cp932), GetParam().utf8);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, Cp932DamagedTest,
    testing::Values(Damaged{"CutLeadByteAtEnd", "\x93\xFA\x96", "日\xEF\xBF\xBD"},
                    Damaged{"LeadByteAlone", "\x93", "\xEF\xBF\xBD"},
                    Damaged{"LeadThenAscii", "\x93 a", "\xEF\xBF\xBD a"},
                    Damaged{"ByteA0", "a\xA0z", "a\xEF\xBF\xBDz"},
                    Damaged{"ByteFF", "\xFF\x93\xFA", "\xEF\xBF\xBD日"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Cp932Test, NulBytesPassThrough) {
  const std::string withNul("a\0b", 3);
  EXPECT_EQ(Utf8ToCp932(withNul), withNul);
  EXPECT_EQ(Cp932ToUtf8(withNul), withNul);
}

TEST(Cp932Test, LongTextConvertsWhole) {
  std::string utf8;
  for (int i = 0; i < 5000; ++i) utf8 += "漢ｱa";
  const std::string cp932 = Utf8ToCp932(utf8);
  EXPECT_EQ(cp932.size(), 5000u * 4u);
  EXPECT_EQ(Cp932ToUtf8(cp932), utf8);
}

// The fixed texts are written as escapes; each must be exactly the CP932 form of
// the text its comment names.
struct FixedText {
  const char* name;
  std::string_view bytes;
  const char* utf8;
};

class FixedTextTest : public testing::TestWithParam<FixedText> {};

TEST_P(FixedTextTest, MatchesConverter) {
  EXPECT_EQ(GetParam().bytes, Utf8ToCp932(GetParam().utf8));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FixedTextTest,
    testing::Values(FixedText{"Kousan", texts::kKousan, "こうさん"},
                    FixedText{"TeachCaption", texts::kTeachCaption, "じゅくごをおしえて"},
                    FixedText{"TeachPromptFree", texts::kTeachPromptFree, "新しいことばを入れて下さい。"},
                    FixedText{"TeachPromptSuffix", texts::kTeachPromptSuffix, " につづくことばを入れてね。"},
                    FixedText{"WinInformation", texts::kWinInformation, "あなたの勝ちです。"},
                    FixedText{"WinQuestionSuffix", texts::kWinQuestionSuffix,
                              " に続くことばをおしえてくれますか？"},
                    FixedText{"LoseInformation", texts::kLoseInformation, "あなたの負けです。"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(FixedTextTest, BuiltInWordsMatchConverter) {
  const char* const jukugo[] = {"日本", "本日", "本当", "当日", "入口"};
  const char* const yomi[] = {"にほん", "ほんじつ", "ほんとう", "とうじつ", "いりぐち"};
  for (std::size_t i = 0; i < 5; ++i) {
    EXPECT_EQ(texts::kBuiltInJukugo[i], Utf8ToCp932(jukugo[i])) << jukugo[i];
    EXPECT_EQ(texts::kBuiltInYomi[i], Utf8ToCp932(yomi[i])) << yomi[i];
  }
}

}  // namespace
}  // namespace renkomi
