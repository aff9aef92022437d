// The generator and its script, run as the player's run.sh runs them. The script
// meets stand-ins for dpkg, dpkg-query, apt-get and sudo placed first on PATH.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "dictionary_store.h"
#include "tools_test_support.h"

namespace renkomi {
namespace {

namespace fs = std::filesystem;
using test::Convert;
using test::Quoted;
using test::RunCommand;
using test::RunResult;
using test::ReadBytes;
using test::TempFolder;
using test::WriteBytes;

constexpr std::string_view kSample =
    "日本 [にほん] /(n) Japan/(P)/\n"
    "会議 [かいぎ] /(n,vs) meeting/\n"
    "会社 [かいしゃ] /(n) company/(P)/\n";

class GeneratorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    source_ = folder_.Path() / "edict";
    WriteBytes(source_, Convert(kSample, "EUC-JP", "UTF-8"));
    program_ = folder_.Path() / "program";
    fs::create_directory(program_);
  }

  // Without the machine's own mecab-ipadic and kanjidic, whether installed or not.
  static std::string Isolated() { return "RENKOMI_WORD_COSTS= RENKOMI_KANJIDIC= "; }

  RunResult Generate(const fs::path& source) {
    return RunCommand(Isolated() + Quoted(EDICT2RENKOMI_PATH) + " " + Quoted(source) + " " + Quoted(program_));
  }

  TempFolder folder_;
  fs::path source_;
  fs::path program_;
};

const fs::path kLarge = "大きな辞書3語.jdc";

TEST_F(GeneratorTest, WritesBothDictionariesAndSaysHowManyPairs) {
  const RunResult run = Generate(source_);
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("2 word pairs"), std::string::npos) << run.output;
  EXPECT_NE(run.output.find("3 word pairs written to the large dictionary 大きな辞書3語"), std::string::npos)
      << run.output;
  EXPECT_EQ(ReadBytes(program_ / "renkomi.jdc"), "\x93\xFA\x96\x7B\r\n\x89\xEF\x8E\xD0\r\n");
  EXPECT_EQ(ReadBytes(program_ / "renkomi.ydc"), "\x82\xC9\x82\xD9\x82\xF1\r\n\x82\xA9\x82\xA2\x82\xB5\x82\xE1\r\n");
  // 会議 is not common: only the large dictionary has it.
  EXPECT_EQ(ReadBytes(program_ / kLarge), "\x93\xFA\x96\x7B\r\n\x89\xEF\x8B\x63\r\n\x89\xEF\x8E\xD0\r\n");
  // The game plays both as they were written.
  for (const auto& [name, pairs] : {std::pair{std::string("renkomi"), 2u}, std::pair{kLarge.stem().string(), 3u}}) {
    DictionaryStore store(program_);
    store.ChooseDictionary(name);
    EXPECT_NO_THROW(store.LoadDictionary()) << name;
    EXPECT_EQ(store.Comp().jukugo().Count(), pairs) << name;
  }
  EXPECT_TRUE(fs::exists(program_ / "大きな辞書3語.ydc"));
}

// Each dictionary is made once: a file of it that is there (the player's) is never
// written over, and the other dictionary is still made.
TEST_F(GeneratorTest, NeverWritesOverADictionaryThatIsThere) {
  for (const char* existing : {"renkomi.jdc", "renkomi.ydc", "大きな辞書12万語.jdc"}) {
    SCOPED_TRACE(existing);
    fs::remove_all(program_);
    fs::create_directory(program_);
    WriteBytes(program_ / existing, "player's words\r\n");
    const RunResult run = Generate(source_);
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_NE(run.output.find("already exists"), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(program_ / existing), "player's words\r\n");
    // The other dictionary's pair and the record of the words, and nothing of the
    // one that is there.
    EXPECT_EQ(std::distance(fs::directory_iterator(program_), fs::directory_iterator()), 4);
  }
}

TEST_F(GeneratorTest, FailsWithoutWritingWhenTheSourceIsMissingOrHasNoWord) {
  const fs::path empty = folder_.Path() / "empty";
  WriteBytes(empty, "");
  for (const fs::path& source : {folder_.Path() / "absent", empty}) {
    SCOPED_TRACE(source.string());
    const RunResult run = Generate(source);
    EXPECT_EQ(run.status, 1) << run.output;
    EXPECT_TRUE(fs::is_empty(program_));
  }
}

// Too few arguments, or one too many after a good pair: nothing is written.
TEST_F(GeneratorTest, WrongArgumentsShowUsage) {
  for (const std::string& arguments : {Quoted(source_), Quoted(source_) + " " + Quoted(program_) + " extra"}) {
    const RunResult run = RunCommand(Isolated() + Quoted(EDICT2RENKOMI_PATH) + " " + arguments);
    EXPECT_EQ(run.status, 2) << arguments;
    EXPECT_NE(run.output.find("Usage"), std::string::npos) << run.output;
    EXPECT_TRUE(fs::is_empty(program_)) << arguments;
  }
}

// --- The script -------------------------------------------------------------------

class ScriptTest : public GeneratorTest {
 protected:
  void SetUp() override {
    GeneratorTest::SetUp();
    bin_ = folder_.Path() / "bin";
    fs::create_directory(bin_);
    const std::string root = Quoted(folder_.Path());
    // "installed" and "apt-works" are marker files that the test sets.
    Fake("dpkg-query", "[ -f " + root + "/installed ] && echo 'install ok installed' && exit 0\nexit 1\n");
    Fake("dpkg", "[ \"$1 $2\" = '-L edict' ] || exit 2\nprintf '/.\\n%s\\n%s\\n' " + Quoted(folder_.Path()) + " " +
                     Quoted(source_) + "\n");
    Fake("apt-get", "echo \"$*\" >> " + root + "/apt-calls\n[ -f " + root + "/apt-works ] || exit 100\n" +
                        "case \"$*\" in *install*) touch " + root + "/installed;; esac\n");
    Fake("sudo", "exec \"$@\"\n");
  }

  void Fake(const std::string& name, const std::string& body) {
    const fs::path path = bin_ / name;
    WriteBytes(path, "#!/bin/sh\n" + body);
    fs::permissions(path, fs::perms::owner_all);
  }

  void Mark(const char* name) { WriteBytes(folder_.Path() / name, ""); }

  RunResult RunScript() {
    return RunCommand(Isolated() + "PATH=" + Quoted(bin_) + ":\"$PATH\" " +
                      Quoted(fs::path(RENKOMI_TOOLS_DIR) / "make-shared-dictionary.sh") +
               " " + Quoted(EDICT2RENKOMI_PATH) + " " + Quoted(program_));
  }

  fs::path bin_;
};

TEST_F(ScriptTest, GeneratesFromTheInstalledPackage) {
  Mark("installed");
  const RunResult run = RunScript();
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_TRUE(fs::exists(program_ / "renkomi.jdc"));
  EXPECT_TRUE(fs::exists(program_ / "renkomi.ydc"));
  EXPECT_FALSE(fs::exists(folder_.Path() / "apt-calls"));
}

TEST_F(ScriptTest, InstallsTheMissingPackageFirst) {
  Mark("apt-works");
  const RunResult run = RunScript();
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(ReadBytes(folder_.Path() / "apt-calls").find("install"), std::string::npos);
  EXPECT_EQ(ReadBytes(program_ / "renkomi.jdc"), "\x93\xFA\x96\x7B\r\n\x89\xEF\x8E\xD0\r\n");
}

TEST_F(ScriptTest, WithoutThePackageSaysSoAndLetsTheGameStart) {
  const RunResult run = RunScript();
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_NE(run.output.find("five built-in words"), std::string::npos) << run.output;
  EXPECT_TRUE(fs::is_empty(program_));
}

TEST_F(ScriptTest, LeavesExistingDictionariesAloneWithoutInstallingAnything) {
  for (const char* existing : {"renkomi.jdc", "renkomi.ydc"}) {
    SCOPED_TRACE(existing);
    fs::remove_all(program_);
    fs::create_directory(program_);
    WriteBytes(program_ / existing, "player's words\r\n");
    WriteBytes(program_ / "大きな辞書9万語.ydc", "player's words\r\n");
    const RunResult run = RunScript();
    EXPECT_EQ(run.status, 0) << run.output;
    EXPECT_EQ(ReadBytes(program_ / existing), "player's words\r\n");
    EXPECT_EQ(std::distance(fs::directory_iterator(program_), fs::directory_iterator()), 2);
    EXPECT_FALSE(fs::exists(folder_.Path() / "apt-calls"));
  }
}

// The next run.sh corrects what an earlier version made, and records it.
TEST_F(ScriptTest, RunsTheGeneratorOnDictionariesThatAreThereWhenEdictIs) {
  Mark("installed");
  WriteBytes(program_ / "renkomi.jdc", "\x93\xFA\x96\x7B\r\n");
  WriteBytes(program_ / "renkomi.ydc", "\x82\xC9\x82\xC1\x82\xDB\x82\xF1\r\n");  // にっぽん, the player's
  WriteBytes(program_ / kLarge, "");
  WriteBytes(program_ / "大きな辞書3語.ydc", "");
  const RunResult run = RunScript();
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadBytes(program_ / "renkomi.gen"), "version 2\ncosts no\nschool no\n");
  EXPECT_EQ(ReadBytes(program_ / "renkomi.ydc"), "\x82\xC9\x82\xC1\x82\xDB\x82\xF1\r\n");
}

TEST_F(ScriptTest, AddsTheLargeDictionaryBesideAnExistingSharedOne) {
  Mark("installed");
  WriteBytes(program_ / "renkomi.jdc", "player's words\r\n");
  WriteBytes(program_ / "renkomi.ydc", "player's words\r\n");
  const RunResult run = RunScript();
  EXPECT_EQ(run.status, 0) << run.output;
  EXPECT_EQ(ReadBytes(program_ / "renkomi.jdc"), "player's words\r\n");
  EXPECT_TRUE(fs::exists(program_ / kLarge));
}

}  // namespace
}  // namespace renkomi
