// kill -9 while the game saves: the robot loses match after match, each loss
// saving the dictionary, and is killed at random moments, half of them aimed at a
// save in progress. Whatever the kill interrupted, the next start of the store
// must find the old pair or the new pair, whole, and no leftovers.
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <sstream>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <iostream>
#include <map>
#include <memory>
#include <random>
#include <set>
#include <thread>
#include <tuple>

#include "dictionary_store.h"
#include "errors.h"
#include "fault_support.h"
#include "pair_save.h"

namespace renkomi::faults {
namespace {

using Clock = std::chrono::steady_clock;

constexpr int kRounds = 40;
constexpr std::uint32_t kSeed = 20240608;
// Large enough that a save takes a noticeable share of each match.
constexpr std::size_t kWords = 3000;

// What a save has beside the pair at one moment: its temporaries, and its commit
// marker, which names the temporaries that hold the new pair.
struct Leftovers {
  int files = 0;                 // temporaries and markers of any kind
  bool committed = false;        // renkomi.ydc.commit is in place
  std::string jukugoTemporary;   // as the marker names them
  std::string yomiTemporary;
  std::string jukugoContent;     // the size and fingerprint the marker records
  std::string yomiContent;
  bool Any() const { return files > 0; }
};

bool StartsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

// Which version of a file is in place: a save puts a new file there, or at the
// least rewrites the old one.
std::tuple<ino_t, std::int64_t, std::int64_t> Version(const fs::path& path) {
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return {0, 0, 0};
  return {st.st_ino, st.st_mtim.tv_sec, st.st_mtim.tv_nsec};
}

class KillDuringSavesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = temp_.Path() / "program";
    fs::create_directories(folder_);
    words_ = MakeWords(kWords);
    readingOf_.insert(words_.begin(), words_.end());
    WriteBytes(Jukugo(), FileBytes(words_, true));
    WriteBytes(Yomi(), FileBytes(words_, false));
  }

  fs::path Jukugo() const { return folder_ / "renkomi.jdc"; }
  fs::path Yomi() const { return folder_ / "renkomi.ydc"; }
  fs::path Marker() const { return folder_ / "renkomi.ydc.commit"; }

  Leftovers Look() const {
    Leftovers left;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) {
      const std::string name = entry.path().filename().string();
      if (StartsWith(name, "renkomi.jdc.") || StartsWith(name, "renkomi.ydc.")) ++left.files;
    }
    // The marker: a heading, then a line per file, its temporary's name first.
    std::vector<std::string> lines;
    if (fs::exists(Marker())) {
      std::istringstream marker(ReadFile(Marker()));
      for (std::string line; std::getline(marker, line);) lines.push_back(line);
    }
    if (lines.size() == 3) {
      left.committed = true;
      left.jukugoTemporary = lines[1].substr(0, lines[1].find('\t'));
      left.yomiTemporary = lines[2].substr(0, lines[2].find('\t'));
      left.jukugoContent = lines[1].substr(lines[1].find('\t') + 1);
      left.yomiContent = lines[2].substr(lines[2].find('\t') + 1);
    }
    return left;
  }

  // After the commit a file of the new pair is the one holding the content the
  // marker records: its temporary until the save swaps it in, then the file at its
  // name (for a moment the temporary's name then holds the old file).
  fs::path Kept(const Leftovers& left, const fs::path& file, const std::string& temporary,
                const std::string& content) const {
    const fs::path waiting = folder_ / temporary;
    const auto holds = [&content](const fs::path& path) {
      const std::string marker = CommitMarker("t", ReadFile(path), "t", "");
      return marker.substr(marker.find('\t') + 1, content.size() + 1) == content + "\n";
    };
    return left.committed && fs::exists(waiting) && !holds(file) && holds(waiting) ? waiting : file;
  }

  // The pair is whole: as many readings as jukugo, every line one of the real
  // pairs, and every word of the dictionary there exactly once.
  ::testing::AssertionResult Whole(const std::string& jukugoBytes, const std::string& yomiBytes) const {
    std::vector<Word> pairs;
    if (auto cut = CutPairs(jukugoBytes, yomiBytes, pairs); !cut) return cut;
    for (std::size_t i = 0; i < pairs.size(); ++i) {
      const auto real = readingOf_.find(pairs[i].first);
      if (real == readingOf_.end() || real->second != pairs[i].second) {
        return ::testing::AssertionFailure() << "line " << i + 1 << " pairs " << Hex(pairs[i].first) << " with "
                                             << Hex(pairs[i].second);
      }
    }
    if (std::multiset<Word>(pairs.begin(), pairs.end()) != std::multiset<Word>(words_.begin(), words_.end())) {
      return ::testing::AssertionFailure() << "the words are not the dictionary's words, each once";
    }
    return ::testing::AssertionSuccess();
  }

  TempFolder temp_;
  fs::path folder_;
  std::vector<Word> words_;
  std::map<std::string, std::string> readingOf_;
};

TEST_F(KillDuringSavesTest, EveryKillLeavesTheOldPairOrTheNewPairWhole) {
  std::mt19937 random(kSeed);
  int midSave = 0;
  int committed = 0;
  int aimed = 0;
  int leftToTheGame = 0;
  const auto began = Clock::now();

  for (int round = 0; round < kRounds; ++round) {
    SCOPED_TRACE("round " + std::to_string(round) + ", seed " + std::to_string(kSeed));
    const auto before = Version(Jukugo());
    PlayerProcess player({"loop", folder_.string()});
    ASSERT_TRUE(player.Started());

    // It plays once its first save has changed the jukugo file.
    const auto deadline = Clock::now() + std::chrono::seconds(60);
    while (Version(Jukugo()) == before && player.Running() && Clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ASSERT_TRUE(player.Running()) << player.Outcome() << "\n" << player.Log();
    ASSERT_NE(Version(Jukugo()), before) << "no save within a minute\n" << player.Log();

    if (round % 2 == 1) {
      // Aimed: the moment a save's first file appears, then a little later, so
      // that the kills spread over the whole save.
      ++aimed;
      const auto giveUp = Clock::now() + std::chrono::seconds(10);
      while (!Look().Any() && Clock::now() < giveUp) {
      }
      const auto until = Clock::now() + std::chrono::microseconds(
                                           std::uniform_int_distribution<int>(0, 1500)(random));
      while (Clock::now() < until) {
      }
    } else {
      std::this_thread::sleep_for(
          std::chrono::microseconds(std::uniform_int_distribution<int>(0, 30000)(random)));
    }
    ASSERT_TRUE(player.Running()) << player.Outcome() << "\n" << player.Log();
    player.Kill();
    ASSERT_EQ(player.Outcome(), "killed by signal 9");

    // Until the kill the robot played without a single error.
    for (const ReportLine& line : ParseReport(player.Log())) {
      EXPECT_NE(line.kind, "error") << line.fields.at(0);
      EXPECT_NE(line.kind, "fail") << line.fields.at(0);
    }

    // What the kill left, before anything touches it: after the commit the new
    // pair, in the temporary names or already in place; before it the old pair.
    const Leftovers left = Look();
    if (left.Any()) ++midSave;
    if (left.committed) ++committed;
    const std::string keptJukugo = ReadFile(Kept(left, Jukugo(), left.jukugoTemporary, left.jukugoContent));
    const std::string keptYomi = ReadFile(Kept(left, Yomi(), left.yomiTemporary, left.yomiContent));
    ASSERT_TRUE(Whole(keptJukugo, keptYomi)) << "the pair the next start would keep";

    // Every fourth kill is left to the game's own next start, which must put the
    // pair in place before it plays (the next round checks what it made of it).
    if (round % 4 == 3 && round + 1 < kRounds) {
      ++leftToTheGame;
      continue;
    }

    // The next start of the store.
    DictionaryStore store(folder_);
    store.ChooseDictionary("renkomi");
    ASSERT_NO_THROW(store.LoadDictionary());
    EXPECT_FALSE(Look().Any()) << "leftovers after the recovery";
    EXPECT_EQ(ReadFile(Jukugo()), keptJukugo) << (left.committed ? "not the committed pair" : "not the old pair");
    EXPECT_EQ(ReadFile(Yomi()), keptYomi) << (left.committed ? "not the committed pair" : "not the old pair");
    EXPECT_EQ(FileBytes(store.Comp().jukugo().Entries()), keptJukugo) << "the loaded words";
    EXPECT_EQ(FileBytes(store.Comp().yomi().Entries()), keptYomi) << "the loaded readings";
  }

  const auto seconds = std::chrono::duration<double>(Clock::now() - began).count();
  std::cout << "kill rounds " << kRounds << " (" << aimed << " aimed at a save), landed mid-save " << midSave
            << " (" << committed << " after the commit), " << leftToTheGame
            << " left to the game's next start, " << seconds << " s\n";
  RecordProperty("rounds", kRounds);
  RecordProperty("mid_save", midSave);
  RecordProperty("committed", committed);
  // Without kills inside saves this test would prove nothing.
  EXPECT_GT(midSave, 0);
}

// A save whose new jukugo file is larger than a load accepts (an earlier version's:
// the game's own saves stop short of the limit), killed at each of its renames:
// the marker's, the jukugo file's, the reading file's. The next start finishes or
// undoes it whole, whatever the size of the save's files.
TEST(OverLimitSaveTest, AKillAtEachRenameLeavesTheOldPairOrTheNewPair) {
  const std::vector<Word> words = MakeWords(1000);
  std::string oldJukugo;
  std::string oldYomi;
  for (std::size_t i = 0; i < 40; ++i) {
    oldJukugo += words[i].first + "\r\n";
    oldYomi += words[i].second + "\r\n";
  }
  std::string newJukugo = oldJukugo;
  std::string newYomi = oldYomi;
  for (std::size_t i = 0; newJukugo.size() <= (std::size_t{8} << 20); ++i) {
    newJukugo += words[i % words.size()].first + "\r\n";
    newYomi += words[i % words.size()].second + "\r\n";
  }
  const std::string jukugoTemporary = "renkomi.jdc.tmp-killatstep";
  const std::string yomiTemporary = "renkomi.ydc.tmp-killatstep";
  const std::string marker = CommitMarker(jukugoTemporary, newJukugo, yomiTemporary, newYomi);

  for (int renamed = 0; renamed <= 3; ++renamed) {
    SCOPED_TRACE("killed after " + std::to_string(renamed) + " of the three renames");
    TempFolder temp;
    const fs::path folder = temp.Path();
    WriteBytes(folder / "renkomi.jdc", oldJukugo);
    WriteBytes(folder / "renkomi.ydc", oldYomi);
    // What the kill left: both temporaries written, the marker written, and as
    // many of the renames done.
    WriteBytes(folder / jukugoTemporary, newJukugo);
    WriteBytes(folder / yomiTemporary, newYomi);
    WriteBytes(folder / "renkomi.ydc.commit-killatstep", marker);
    if (renamed >= 1) fs::rename(folder / "renkomi.ydc.commit-killatstep", folder / "renkomi.ydc.commit");
    if (renamed >= 2) fs::rename(folder / jukugoTemporary, folder / "renkomi.jdc");
    if (renamed >= 3) fs::rename(folder / yomiTemporary, folder / "renkomi.ydc");

    // The next start: the new pair is too large to play, and says so, but whole.
    DictionaryStore store(folder);
    store.ChooseDictionary("renkomi");
    std::string failure;
    try {
      store.LoadDictionary();
    } catch (const Error& e) {
      failure = e.what();
    }
    const bool committed = renamed >= 1;
    if (committed)
      EXPECT_NE(failure.find("は大きすぎるので辞書に使えません"), std::string::npos) << failure;
    else
      EXPECT_EQ(failure, "");
    EXPECT_TRUE(ReadFile(folder / "renkomi.jdc") == (committed ? newJukugo : oldJukugo));
    EXPECT_TRUE(ReadFile(folder / "renkomi.ydc") == (committed ? newYomi : oldYomi));
    EXPECT_EQ(CountFiles(folder), 2) << "leftovers";
  }
}

// Two copies of the game on one folder, for which the folder lock failed (on some
// network folders, say): each with its own store, each loading and saving match
// after match. The saves hold the pair in turn, and a save that finds the other
// copy's words in the files keeps them beside its own: each load, and the files at
// the end, hold whole saves, every line a jukugo with its own reading.
TEST(TwoCopiesTest, SavesAtTheSameMomentNeverMispairTheFiles) {
  TempFolder temp;
  const fs::path folder = temp.Path();
  {
    DictionaryStore first(folder);
    first.ChooseDictionary("renkomi");
    first.LoadDictionary();  // the built-in words
  }
  constexpr int kSaves = 120;
  constexpr int kPairs = 300;
  // Every save writes pairs tagged with the copy and the save's number, so a file
  // of one save beside a file of another shows at once.
  const auto whole = [&](const std::vector<std::string>& jukugo, const std::vector<std::string>& yomi) {
    if (jukugo.size() != yomi.size() || jukugo.empty()) return false;
    if (jukugo.size() == 5 && jukugo[0] == Cp932("日本")) return true;  // not saved over yet
    if (jukugo.size() % kPairs != 0) return false;  // a save's words come and go whole
    for (std::size_t i = 0; i < jukugo.size(); ++i)
      if (jukugo[i].empty() || jukugo[i][0] != 'J' || yomi[i] != "Y" + jukugo[i].substr(1)) return false;
    return true;
  };
  const auto play = [&](char copy) {
    DictionaryStore store(folder);
    store.ChooseDictionary("renkomi");
    for (int save = 0; save < kSaves; ++save) {
      try {
        store.LoadDictionary();
      } catch (const std::exception&) {
        return 10;
      }
      if (!whole(store.Comp().jukugo().Entries(), store.Comp().yomi().Entries())) return 11;
      store.GiveBackWords({});
      const std::string tag = std::string(1, copy) + std::to_string(save);
      for (int i = 0; i < kPairs; ++i) store.AddWord("J" + tag + "-" + std::to_string(i), "Y" + tag + "-" + std::to_string(i));
      try {
        store.SaveDictionary();
      } catch (const std::exception&) {
        return 12;
      }
    }
    return 0;
  };
  std::vector<std::unique_ptr<test::Child>> copies;
  for (const char copy : {'a', 'b'}) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(play(copy));
    copies.push_back(std::make_unique<test::Child>(pid));
  }
  for (const auto& child : copies) {
    const int status = child->Wait(60000);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << "status " << status << " (10: a load failed, 11: a load found a mispaired pair, 12: a save failed)";
  }
  // The files byte by byte: one save's pair, whole, and nothing beside them.
  std::vector<std::string> jukugo;
  std::vector<std::string> yomi;
  ASSERT_TRUE(CutStrictly(ReadFile(folder / "renkomi.jdc"), jukugo));
  ASSERT_TRUE(CutStrictly(ReadFile(folder / "renkomi.ydc"), yomi));
  EXPECT_TRUE(whole(jukugo, yomi)) << jukugo.size() << " lines: " << jukugo.front() << " / " << yomi.front();
  EXPECT_EQ(CountFiles(folder), 2) << "leftovers";
}

// A text editor appending 150 pairs to the files in place (as `>>` does) while the
// game is taught 60 words, each saved at once: no pair of either side may be lost
// or mispaired.
TEST(EditorRaceTest, NoPairIsLostOrMispaired) {
  constexpr std::size_t kTaught = 60;
  constexpr std::size_t kEdited = 150;
  TempFolder temp;
  const fs::path jukugoPath = temp.Path() / "renkomi.jdc";
  const fs::path yomiPath = temp.Path() / "renkomi.ydc";
  const std::vector<Word> words = MakeWords(kTaught + kEdited);
  DictionaryStore store(temp.Path());
  store.ChooseDictionary("renkomi");
  store.LoadDictionary();  // the built-in words

  const pid_t pid = ::fork();
  if (pid == 0) {
    std::mt19937 random(kSeed);
    const auto add = [&](const fs::path& path, const std::string& line) {
      const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
      const bool ok = fd >= 0 && ::write(fd, line.data(), line.size()) == static_cast<ssize_t>(line.size());
      return ::close(fd) == 0 && ok;
    };
    for (std::size_t i = kTaught; i < words.size(); ++i) {
      if (!add(jukugoPath, words[i].first + "\r\n") || !add(yomiPath, words[i].second + "\r\n")) ::_exit(1);
      std::this_thread::sleep_for(std::chrono::microseconds(std::uniform_int_distribution<int>(0, 4000)(random)));
    }
    ::_exit(0);
  }
  test::Child editor(pid);
  std::vector<std::string> errors;
  for (std::size_t i = 0; i < kTaught; ++i) {
    store.AddWord(words[i].first, words[i].second);
    try {
      store.SaveDictionary();
    } catch (const Error& e) {
      errors.push_back(e.what());
    }
  }
  const int status = editor.Wait(20000);
  ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the editor failed: " << status;
  EXPECT_TRUE(errors.empty()) << errors.front();

  // The files byte for byte: even, every line a real pair, each word there once.
  std::vector<Word> lines;
  ASSERT_TRUE(CutPairs(ReadFile(jukugoPath), ReadFile(yomiPath), lines));
  const std::multiset<Word> pairs(lines.begin(), lines.end());
  std::size_t editorsLost = 0;
  std::size_t gamesLost = 0;
  for (std::size_t i = 0; i < words.size(); ++i) {
    const std::size_t count = pairs.count(words[i]);
    EXPECT_LE(count, 1u) << "pair " << i << " twice";
    if (count == 0) ++(i < kTaught ? gamesLost : editorsLost);
  }
  EXPECT_EQ(pairs.size(), 5 + kTaught + kEdited - gamesLost - editorsLost) << "a line that is no pair of either side";
  std::cout << "the editor's pairs lost " << editorsLost << " of " << kEdited
            << ", the game's " << gamesLost << " of " << kTaught << "\n";
  EXPECT_EQ(editorsLost, 0u);
  EXPECT_EQ(gamesLost, 0u);
}

}  // namespace
}  // namespace renkomi::faults
