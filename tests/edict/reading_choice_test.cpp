// Which reading a generated word gets and which words each dictionary holds,
// checked on small excerpts of the sources written for the purpose.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cp932.h"
#include "edict_source.h"
#include "reading_choice.h"
#include "school_kanji.h"
#include "tools_test_support.h"
#include "vocabularies.h"
#include "word_costs.h"

namespace renkomi {
namespace {

using test::Convert;
using test::PrintTo;

// A line of mecab-ipadic's lists, as the file holds it.
std::string CostLine(std::string_view jukugo, int cost, std::string_view subclass, std::string_view katakana) {
  return Convert(std::string(jukugo) + ",1285,1285," + std::to_string(cost) + ",名詞," + std::string(subclass) +
                     ",*,*,*,*," + std::string(jukugo) + "," + std::string(katakana) + "," + std::string(katakana),
                 "EUC-JP", "UTF-8");
}

struct ChoiceRow {
  const char* name;
  std::vector<std::string_view> edict;
  std::vector<std::string> costs;
  std::string_view jukugo;
  std::string_view expected;
};

class ReadingChoiceTest : public ::testing::TestWithParam<ChoiceRow> {};

TEST_P(ReadingChoiceTest, GivesTheReadingAReaderGivesFirst) {
  EdictWords words;
  for (std::string_view line : GetParam().edict) words.AddLine(line);
  WordCosts costs;
  for (const std::string& line : GetParam().costs) costs.AddLine(line);
  const SourceWord* word = words.Find(Utf8ToCp932(GetParam().jukugo));
  ASSERT_NE(word, nullptr);
  EXPECT_EQ(Cp932ToUtf8(word->readings[ChooseReading(*word, costs)].yomi), GetParam().expected);
}

const std::vector<std::string_view> kTwoCommon = {"下手 [したて] /(n) humble position/(P)/",
                                                   "下手 [へた] /(adj-na) unskilful/(P)/"};
const std::vector<std::string_view> kOneSpellingCommon = {
    "甲乙(P);乙甲 [こうおつ(P)] /(n) test/(P)/EntL1/", "乙甲 [おつこう] /(n) test/(P)/"};

INSTANTIATE_TEST_SUITE_P(
    Excerpts, ReadingChoiceTest,
    ::testing::Values(
        ChoiceRow{"SeveralCommonTheCheaperWins", kTwoCommon,
                  {CostLine("下手", 5394, "一般", "シタテ"), CostLine("下手", 2348, "形容動詞語幹", "ヘタ")},
                  "下手", "へた"},
        ChoiceRow{"SeveralCommonWithoutCostsTheFirst", kTwoCommon, {}, "下手", "したて"},
        ChoiceRow{"NoneCommonTheCheaperWins",
                  {"眼鏡 [がんきょう] /(n) glasses/", "眼鏡 [めがね] /(n) glasses/"},
                  {CostLine("眼鏡", 7123, "一般", "ガンキョウ"), CostLine("眼鏡", 4193, "一般", "メガネ")},
                  "眼鏡", "めがね"},
        ChoiceRow{"NoneCommonTheDatedLast",
                  {"先生 [せんしょう] /(n) (1) (arch) teacher/", "先生 [せんせい] /(n) teacher/"}, {}, "先生",
                  "せんせい"},
        ChoiceRow{"TheMarkedBeforeTheCheaper", {"明日 [あす] /(n) tomorrow/", "明日 [あした] /(n) tomorrow/(P)/"},
                  {CostLine("明日", 3000, "副詞可能", "アス"), CostLine("明日", 5000, "副詞可能", "アシタ")},
                  "明日", "あした"},
        ChoiceRow{"AProperNounAfterACommonNoun", {"日本 [にっぽん] /(n) Japan/", "日本 [にほん] /(n) Japan/"},
                  {CostLine("日本", 3490, "固有名詞", "ニッポン"), CostLine("日本", 9000, "一般", "ニホン")},
                  "日本", "にほん"},
        // こうおつ is common for 甲乙 only: 乙甲 takes its own common reading,
        // however cheap the other.
        ChoiceRow{"CommonForTheMarkedSpelling", kOneSpellingCommon, {}, "甲乙", "こうおつ"},
        ChoiceRow{"NotCommonForTheOtherSpelling", kOneSpellingCommon, {CostLine("乙甲", 100, "一般", "コウオツ")},
                  "乙甲", "おつこう"}),
    [](const auto& info) { return std::string(info.param.name); });

// --- Each dictionary's words ------------------------------------------------

std::vector<std::string> JukugoOf(const ChosenReadings& chosen, const WordSelection& words) {
  std::vector<std::string> utf8;
  for (const std::string& jukugo : PairsOf(chosen, words).jukugo) utf8.push_back(Cp932ToUtf8(jukugo));
  return utf8;
}

class VocabularyTest : public ::testing::Test {
 protected:
  void SetUp() override {
    for (std::string_view line : {"医者 [いしゃ] /(n) doctor/(P)/", "医学 [いがく] /(n) medicine/(P)/",
                                  "鬱金 [うこん] /(n) turmeric/(P)/", "学者 [がくしゃ] /(n) scholar/",
                                  "学会 [がっかい] /(n) society/", "学医 [がくい] /(n) a made-up word/",
                                  "者流 [しゃりゅう] /(n) school/"}) {
      words_.AddLine(line);
    }
    costs_.AddLine(CostLine("学会", 3000, "一般", "ガッカイ"));
    costs_.AddLine(CostLine("学医", 9000, "一般", "ガクイ"));
  }

  EdictWords words_;
  WordCosts costs_;
};

// 者 and 学 end common words and start none. 学 is closed by 学医 although 学会 is
// cheaper, since 会 would open another dead end and 医 starts 医者; 者 has only
// 者流, and 流 stays open, as nothing starts with it.
TEST_F(VocabularyTest, SharedWordsCloseEveryDeadEndTheSourceCan) {
  const ChosenReadings chosen(words_, costs_);
  EXPECT_EQ(JukugoOf(chosen, SharedWords(chosen)),
            (std::vector<std::string>{"医者", "医学", "鬱金", "学医", "者流"}));
}

TEST_F(VocabularyTest, SchoolWordsAreTheCommonOnesOfTheGradeKanji) {
  SchoolKanji school;
  for (std::string_view line : {"医 3065 U533b B23 G3 S7 {medicine}", "者 3C54 U8005 B125 G3 S8 {someone}",
                                "学 3358 U5b66 B39 G1 S8 {study}", "金 3662 U91d1 B167 G1 S8 {gold}",
                                "鬱 455D U9b31 B192 G8 S29 {gloom} {G1 in a gloss}"}) {
    school.AddLine(line);
  }
  EXPECT_EQ(school.Count(), 4u);
  const ChosenReadings chosen(words_, costs_);
  EXPECT_EQ(JukugoOf(chosen, SchoolWords(chosen, school)), (std::vector<std::string>{"医者", "医学"}));
}

}  // namespace
}  // namespace renkomi
