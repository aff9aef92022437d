#include "edict_source.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

#include "cp932.h"
#include "dictionary_folder.h"
#include "edict_line.h"
#include "errors.h"
#include "japanese_text.h"
#include "text_rules.h"
#include "vocabularies.h"
#include "tools_test_support.h"

namespace renkomi {
namespace {

namespace fs = std::filesystem;
using test::Convert;
using test::PrintTo;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

// --- One spelling, one reading --------------------------------------------

struct JukugoRow {
  const char* name;
  std::string_view spelling;
  std::string_view expectedCp932;  // empty: refused
};

class JukugoForTest : public ::testing::TestWithParam<JukugoRow> {};

TEST_P(JukugoForTest, KeepsOnlyWordsOfTwoOrMoreKanjiThatCp932Holds) {
  EXPECT_EQ(JukugoFor(GetParam().spelling), GetParam().expectedCp932);
}

INSTANTIATE_TEST_SUITE_P(
    Spellings, JukugoForTest,
    ::testing::Values(JukugoRow{"TwoKanji", "日本", "\x93\xFA\x96\x7B"},
                      JukugoRow{"ThreeKanji", "日本語", "\x93\xFA\x96\x7B\x8C\xEA"},
                      JukugoRow{"CompatibilityIdeographInCp932", "長﨑", "\x92\xB7\xFA\xB1"},
                      JukugoRow{"SingleKanji", "円", ""},
                      JukugoRow{"IterationMark", "人々", ""},
                      JukugoRow{"IdeographicZero", "〇〇", ""},
                      JukugoRow{"SmallRomanNumeralAboveFirstKanji", "第ⅰ", ""},
                      JukugoRow{"BrokenBarAboveFirstKanji", "日￤", ""},
                      JukugoRow{"KanjiMissingFromCp932", "丂丂", ""},
                      JukugoRow{"FullWidthLatin", "ＤＯＳ", ""},
                      JukugoRow{"KanaInside", "日ほん", ""},
                      JukugoRow{"Empty", "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

// The symbols of the rows above sit above 0x889F in CP932, where the game's own
// rule takes them for kanji: only the check on the ideographs keeps them out.
TEST(JukugoForTest, SymbolsRefusedAreOnesTheWordRuleWouldAccept) {
  EXPECT_TRUE(IsJukugo(Utf8ToCp932("第ⅰ")));
  EXPECT_TRUE(IsJukugo(Utf8ToCp932("日￤")));
}

struct YomiRow {
  const char* name;
  std::string_view reading;
  std::string_view expectedUtf8;  // empty: refused
};

class YomiForTest : public ::testing::TestWithParam<YomiRow> {};

TEST_P(YomiForTest, KeepsHiraganaReadingsAfterTurningKatakanaIntoHiragana) {
  const std::string expected = Convert(GetParam().expectedUtf8, "CP932", "UTF-8");
  EXPECT_EQ(YomiFor(GetParam().reading), expected);
}

INSTANTIATE_TEST_SUITE_P(Readings, YomiForTest,
                         ::testing::Values(YomiRow{"Hiragana", "にほん", "にほん"},
                                           YomiRow{"Katakana", "カイシャ", "かいしゃ"},
                                           YomiRow{"MixedKana", "キャっぷ", "きゃっぷ"},
                                           YomiRow{"SmallKatakanaA", "ァ", ""},
                                           YomiRow{"LongVowelMark", "ケーロ", ""},
                                           YomiRow{"KatakanaVu", "ヴぃな", ""},
                                           YomiRow{"KatakanaIterationMark", "ヽ", ""},
                                           YomiRow{"AsciiLetters", "DNA", ""},
                                           YomiRow{"Empty", "", ""}),
                         [](const auto& info) { return std::string(info.param.name); });

struct KanaRow {
  const char* name;
  std::string_view katakana;
  std::string_view hiragana;
};

class KatakanaToHiraganaTest : public ::testing::TestWithParam<KanaRow> {};

// Both ends of the katakana that have a hiragana: ァ (the first) and ヶ (the last).
TEST_P(KatakanaToHiraganaTest, TurnsEveryKatakanaThatHasAHiragana) {
  EXPECT_EQ(KatakanaToHiragana(GetParam().katakana), GetParam().hiragana);
}

INSTANTIATE_TEST_SUITE_P(Ends, KatakanaToHiraganaTest,
                         ::testing::Values(KanaRow{"FirstKatakanaSmallA", "ァイ", "ぁい"},
                                           KanaRow{"LargeA", "アイ", "あい"},
                                           KanaRow{"LastKatakanaSmallKe", "ヵヶ", "ゕゖ"},
                                           KanaRow{"LongVowelMarkStays", "ケー", "けー"},
                                           KanaRow{"IterationMarkStays", "ヽヾ", "ヽヾ"},
                                           KanaRow{"KatakanaMiddleDotStays", "・", "・"}),
                         [](const auto& info) { return std::string(info.param.name); });

// --- Taking a line apart ---------------------------------------------------

TEST(ParseEdictLineTest, ReadsSeveralSpellingsAndReadingsWithTheirTagsAndRestrictions) {
  const auto line =
      ParseEdictLine("甲乙(P);乙甲(iK,oK) [こうおつ(甲乙;乙甲)(P);おつこう(ok)] /(n) test/(P)/EntL1000010X/");
  ASSERT_TRUE(line.has_value());
  ASSERT_EQ(line->spellings.size(), 2u);
  EXPECT_EQ(line->spellings[0].text, "甲乙");
  EXPECT_TRUE(line->spellings[0].HasTag("P"));
  EXPECT_EQ(line->spellings[1].text, "乙甲");
  EXPECT_EQ(line->spellings[1].tags, (std::vector<std::string>{"iK", "oK"}));
  ASSERT_EQ(line->readings.size(), 2u);
  EXPECT_EQ(line->readings[0].text, "こうおつ");
  EXPECT_EQ(line->readings[0].onlyFor, (std::vector<std::string>{"甲乙", "乙甲"}));
  EXPECT_TRUE(line->readings[0].HasTag("P"));
  EXPECT_EQ(line->readings[1].text, "おつこう");
  EXPECT_TRUE(line->readings[1].HasTag("ok"));
  EXPECT_TRUE(line->readings[1].onlyFor.empty());
}

TEST(ParseEdictLineTest, CommonOnlyForAWhole_P_Field) {
  EXPECT_FALSE(ParseEdictLine("燐光 [りんこう] /(n) phosphorescence of phosphorus (P)/")->common);
  EXPECT_FALSE(ParseEdictLine("燐光 [りんこう] /(n) (P) glow/")->common);
  EXPECT_TRUE(ParseEdictLine("燐光 [りんこう] /(n) glow/(P)/")->common);
}

TEST(ParseEdictLineTest, KanaOnlyWordHasNoSpelling) {
  const auto line = ParseEdictLine("イレブン /(n) eleven/(P)/");
  ASSERT_TRUE(line.has_value());
  EXPECT_TRUE(line->spellings.empty());
  ASSERT_EQ(line->readings.size(), 1u);
  EXPECT_EQ(line->readings[0].text, "イレブン");
}

TEST(ParseEdictLineTest, LineWithoutGlossIsNoEntry) {
  EXPECT_FALSE(ParseEdictLine("").has_value());
  EXPECT_FALSE(ParseEdictLine("日本 [にほん]").has_value());
  EXPECT_FALSE(ParseEdictLine(" /(n) nothing/").has_value());
}

// --- The whole file ---------------------------------------------------------

// A hand-made sample in the layout of Debian's file, with the EDICT2 layout mixed in.
constexpr std::string_view kSample =
    "　？？？ /EDICT, EDICT_SUB(P), EDICT2 Japanese-English Electronic Dictionary Files/Sample/\n"
    "日本 [にほん] /(n) Japan/(P)/\n"
    "日本 [にっぽん] /(n) Japan/(P)/\n"               // as common: without costs the first stays
    "会議 [かいぎ] /(n,vs) meeting/\n"                 // not common
    "会社 [カイシャ] /(n) company/(P)/\n"              // katakana reading
    "人々 [ひとびと] /(n) people/(P)/\n"               // iteration mark
    "経路 [ケーロ] /(n) route/(P)/\n"                  // long-vowel mark in the reading...
    "経路 [けいろ] /(n) route/(P)/\n"                  // ...so the next common reading is taken
    "一寸 [ちょっと] /(ateji) (adv) a little/(P)/\n"   // phonetic kanji, as everyone writes it
    "一日 [ひとひ] /(ok) (n) one day/(P)/\n"
    "一日 [いちにち] /(n) one day/\n"                  // the first reading, but not common
    "一日 [ついたち] /(n) first day of the month/(P)/\n"
    "一日 [いっぴ] /(n) first day of the month/(P)/\n"
    "蒟蒻 [こんにゃく] /(iK) (n) konjac/(P)/\n"
    "蒟蒻 [こんにゃく] /(n) konjac/(P)/\n"
    "見出 [みいだ] /(io) (v5s) to find/(P)/\n"
    "見出 [みだし] /(ik) (n) heading/(P)/\n"
    "長閑 [のどか] /(oK) (adj-na) calm/(P)/\n"
    "燐光 [りんこう] /(n) phosphorescence of phosphorus (P)/\n"
    "ＤＯＳ [ドス] /(n) (comp) DOS/(P)/\n"
    "イレブン /(n) eleven/(P)/\n"
    "円 [えん] /(n) yen/(P)/\n"
    "丂丂 [こうこう] /(n) a kanji CP932 lacks/(P)/\n"
    "日本語 [にほんご] /(n) Japanese/(P)/\r\n"         // a CR LF line end
    "明白(P);明瞭 [めいはく(P);あからさま(明白)] /(adj-na) obvious/(P)/EntL1000010X/\n"
    "明瞭 [めいりょう] /(adj-na) clear/(P)/\n"         // common here only, so taken over めいはく
    "欠伸(P);欠申(iK,P) [あくび(P)] /(n) yawn/(P)/EntL1000020/\n"
    "丈夫(P) [じょうぶ(ok,P);じょうふ(P)] /(adj-na) sturdy/(P)/EntL1000030/\n"
    "甲乙(P);乙甲(P) [こうおつ(甲乙)(P);おつこう(P)] /(n) test/(P)/EntL1000040/\n"
    "本日 [ほんじつ] /(n) today/(P)";                  // no line end at the end of the file

// The pairs that the sample must give, in order.
constexpr std::string_view kExpectedJukugo =
    "日本\r\n会社\r\n経路\r\n一寸\r\n一日\r\n蒟蒻\r\n日本語\r\n明白\r\n明瞭\r\n欠伸\r\n丈夫\r\n甲乙\r\n乙甲\r\n本日\r\n";
constexpr std::string_view kExpectedYomi =
    "にほん\r\nかいしゃ\r\nけいろ\r\nちょっと\r\nついたち\r\nこんにゃく\r\nにほんご\r\nめいはく\r\nめいりょう\r\n"
    "あくび\r\nじょうふ\r\nこうおつ\r\nおつこう\r\nほんじつ\r\n";

class EdictFileTest : public ::testing::Test {
 protected:
  // The sample in EUC-JP, with `extra` bytes appended as they stand.
  fs::path WriteSample(std::string_view extra = {}) {
    const fs::path path = folder_.Path() / "edict";
    WriteBytes(path, Convert(kSample, "EUC-JP", "UTF-8") + std::string(extra));
    return path;
  }

  TempFolder folder_;
};

TEST_F(EdictFileTest, WritesTheKeptPairsByteForByte) {
  EdictWords words;
  words.AddFile(WriteSample());
  const fs::path program = folder_.Path() / "program";
  fs::create_directory(program);
  const ChosenReadings chosen(words, WordCosts());
  WriteSharedDictionary(program, PairsOf(chosen, SharedWords(chosen)));

  const std::string jdc = ReadBytes(program / "renkomi.jdc");
  const std::string ydc = ReadBytes(program / "renkomi.ydc");
  EXPECT_EQ(jdc, Convert(kExpectedJukugo, "CP932", "UTF-8"));
  EXPECT_EQ(ydc, Convert(kExpectedYomi, "CP932", "UTF-8"));
  // Pinned by hand as well, so that a converter slip shared by both sides shows.
  EXPECT_EQ(jdc.substr(0, 12), std::string_view("\x93\xFA\x96\x7B\r\n\x89\xEF\x8E\xD0\r\n"));
  EXPECT_EQ(ydc.substr(0, 8), std::string_view("\x82\xC9\x82\xD9\x82\xF1\r\n"));
  EXPECT_EQ(words.LineCount(), 30u);
  EXPECT_EQ(words.UndecodableLineCount(), 0u);
}

// The large dictionary: every word, common or not, through the same filters; a
// reading marked common comes first wherever the source gives it (一日 ついたち,
// not the first いちにち; 明瞭 めいりょう, not 明白's めいはく).
TEST_F(EdictFileTest, WholeVocabularyKeepsUncommonWordsThroughTheSameFilters) {
  EdictWords words;
  words.AddFile(WriteSample());
  const fs::path program = folder_.Path() / "program";
  fs::create_directory(program);
  const ChosenReadings chosen(words, WordCosts());
  const std::string name = WriteSizedDictionary(program, kLargeDictionaryPrefix, PairsOf(chosen, LargeWords(chosen)));
  EXPECT_EQ(name, "大きな辞書16語");
  EXPECT_EQ(ReadBytes(program / (name + ".jdc")),
            Convert("日本\r\n会議\r\n会社\r\n経路\r\n一寸\r\n一日\r\n蒟蒻\r\n燐光\r\n日本語\r\n明白\r\n明瞭\r\n"
                    "欠伸\r\n丈夫\r\n甲乙\r\n乙甲\r\n本日\r\n", "CP932", "UTF-8"));
  EXPECT_EQ(ReadBytes(program / (name + ".ydc")),
            Convert("にほん\r\nかいぎ\r\nかいしゃ\r\nけいろ\r\nちょっと\r\nついたち\r\nこんにゃく\r\nりんこう\r\n"
                    "にほんご\r\nめいはく\r\nめいりょう\r\nあくび\r\nじょうふ\r\nこうおつ\r\nおつこう\r\nほんじつ\r\n",
                    "CP932", "UTF-8"));
  // What the earlier generator wrote for the same words, kept for correcting it.
  EXPECT_EQ(Cp932ToUtf8(words.Find(Utf8ToCp932("一日"))->firstYomi), "いちにち");
  EXPECT_EQ(Cp932ToUtf8(words.Find(Utf8ToCp932("明瞭"))->firstYomi), "めいはく");
  EXPECT_EQ(Cp932ToUtf8(words.Find(Utf8ToCp932("明瞭"))->firstCommonYomi), "めいりょう");
  // Made once: a large dictionary of any size is left as it is.
  EXPECT_THROW(WriteSizedDictionary(program, kLargeDictionaryPrefix, PairsOf(chosen, LargeWords(chosen))), Error);
  EXPECT_EQ(SizedDictionaryName(kLargeDictionaryPrefix, 109234), "大きな辞書10万語");
}

TEST(LargeDictionaryNameTest, CountsInTenThousandsFromExactlyTenThousand) {
  EXPECT_EQ(SizedDictionaryName(kLargeDictionaryPrefix, 9999), "大きな辞書9999語");
  EXPECT_EQ(SizedDictionaryName(kLargeDictionaryPrefix, 10000), "大きな辞書1万語");
  EXPECT_EQ(SizedDictionaryName(kSchoolDictionaryPrefix, 19999), "小学生の辞書1万語");
}

TEST_F(EdictFileTest, SkipsALineThatIsNotEucJpAndGoesOn) {
  // A lead byte followed by a line end, then a good line.
  EdictWords words;
  words.AddFile(WriteSample("\n\xB7 [x] /(n) cut/(P)/\n\xB7\xD0\xCF\xA9\xCF [y] /(n) cut/(P)/\n"));
  EXPECT_EQ(words.UndecodableLineCount(), 2u);
  EXPECT_EQ(words.Words().size(), 16u);
}

TEST_F(EdictFileTest, MissingFileThrows) {
  EdictWords words;
  EXPECT_THROW(words.AddFile(folder_.Path() / "absent"), Error);
}

// Symbols above 0x889F cannot come through glibc's EUC-JP, so they go in as text.
TEST(EdictImportTest, SymbolsAmongTheKanjiCodesAreNotTakenForKanji) {
  EdictWords words;
  words.AddLine("第ⅰ [だいいち] /(n) number one/(P)/");
  words.AddLine("第一 [だいいち] /(n) number one/(P)/");
  words.AddLine("長﨑 [ながさき] /(n) a place/(P)/");
  ASSERT_EQ(words.Words().size(), 2u);
  EXPECT_EQ(words.Words()[0].jukugo, "\x91\xE6\x88\xEA");
  EXPECT_EQ(words.Words()[1].jukugo, "\x92\xB7\xFA\xB1");
}

// --- Writing ------------------------------------------------------------------

class WriteSharedDictionaryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    program_ = folder_.Path() / "program";
    fs::create_directory(program_);
  }

  TempFolder folder_;
  fs::path program_;
  const Pairs words_{{"\x93\xFA\x96\x7B"}, {"\x82\xC9\x82\xD9\x82\xF1"}};
};

TEST_F(WriteSharedDictionaryTest, RefusesWhenEitherFileExists) {
  for (const char* existing : {"renkomi.jdc", "renkomi.ydc"}) {
    SCOPED_TRACE(existing);
    const fs::path program = folder_.Path() / existing;
    fs::create_directory(program);
    WriteBytes(program / existing, "player's words\r\n");
    EXPECT_THROW(WriteSharedDictionary(program, words_), Error);
    EXPECT_EQ(ReadBytes(program / existing), "player's words\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(program), fs::directory_iterator()), 1);
  }
}

TEST_F(WriteSharedDictionaryTest, RefusesADanglingLink) {
  fs::create_symlink(folder_.Path() / "elsewhere.jdc", program_ / "renkomi.jdc");
  EXPECT_THROW(WriteSharedDictionary(program_, words_), Error);
  EXPECT_FALSE(fs::exists(folder_.Path() / "elsewhere.jdc"));
  EXPECT_FALSE(fs::exists(program_ / "renkomi.ydc"));
}

TEST_F(WriteSharedDictionaryTest, RefusesAMissingFolder) {
  EXPECT_THROW(WriteSharedDictionary(folder_.Path() / "absent", words_), Error);
  EXPECT_FALSE(fs::exists(folder_.Path() / "absent"));
}

// An empty pair of files would leave the computer without a word, and the game
// would no longer seed the five built-in ones.
TEST_F(WriteSharedDictionaryTest, RefusesToWriteAnEmptyDictionary) {
  EXPECT_THROW(WriteSharedDictionary(program_, Pairs()), Error);
  EXPECT_TRUE(fs::is_empty(program_));
}

}  // namespace
}  // namespace renkomi
