// What the fault tests share: starting the robot-played game (fault_player) as a
// process of its own, reading back what it reported, and making and checking
// dictionary files byte by byte without the game's own reader.
#pragma once

#include <sys/types.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "test_support.h"

namespace renkomi::faults {

namespace fs = std::filesystem;

using renkomi::test::TempFolder;
using renkomi::test::WriteBytes;

// The robot-played game in a process of its own. Its output is collected through
// a pipe, not a file: a file-size limit in the game must not cut its report short.
class PlayerProcess {
 public:
  explicit PlayerProcess(const std::vector<std::string>& arguments);
  ~PlayerProcess();
  PlayerProcess(const PlayerProcess&) = delete;
  PlayerProcess& operator=(const PlayerProcess&) = delete;

  bool Started() const { return pid_ > 0; }
  // Still running (reaps it when it has ended).
  bool Running();
  // SIGKILL, and waits for the end.
  void Kill();
  // Waits for the end; kills it and returns false after `timeoutMs`.
  bool WaitFinished(int timeoutMs);
  // The wait status of a finished process.
  int Status() const { return status_; }
  // "exit 0", "killed by signal 6", ...
  std::string Outcome() const;
  std::string Log() const;

 private:
  void Finished(int status);

  pid_t pid_ = -1;
  bool finished_ = false;
  int status_ = 0;
  std::thread reader_;
  mutable std::mutex mutex_;
  std::string output_;
};

// One line of the robot's report, split at the tabs: the kind, then its fields.
struct ReportLine {
  std::string kind;
  std::vector<std::string> fields;
};
std::vector<ReportLine> ParseReport(const std::string& log);
// The messages of the game's error dialog, in order.
std::vector<std::string> Errors(const std::vector<ReportLine>& report);
// How many message dialogs with this caption and text opened.
int CountDialogs(const std::vector<ReportLine>& report, const std::string& caption, const std::string& text);
// The key=value fields of the state line with this label; empty when there is none.
std::map<std::string, std::string> StateAt(const std::vector<ReportLine>& report, const std::string& label);
// The files line with this label as file name -> bytes; `found` tells whether it was there.
std::map<std::string, std::string> FilesAt(const std::vector<ReportLine>& report, const std::string& label,
                                           bool* found = nullptr);

// A script of the robot run to its end on the program folder; a failure unless it exits 0.
struct Played {
  std::vector<ReportLine> report;
  std::string log;
};
Played Play(const std::string& script, const fs::path& folder, const std::vector<std::string>& arguments = {});

// A dictionary word as the files hold it: CP932 jukugo and reading.
using Word = std::pair<std::string, std::string>;
// `count` distinct pairs of two-kanji jukugo and three-kana readings; no two share
// a jukugo or a reading, so a jukugo paired with a wrong reading never passes for
// a real pair.
std::vector<Word> MakeWords(std::size_t count);
// The bytes of a dictionary file: every entry followed by CR LF.
std::string FileBytes(const std::vector<std::string>& entries);
// The jukugo (`jukugo` true) or the reading file of these words.
std::string FileBytes(const std::vector<Word>& words, bool jukugo);
std::string ReadFile(const fs::path& path);
// Cuts a file written by the game: every line ends with CR LF, the last included,
// and no entry holds a lone CR or LF. Fails on a partial last line.
::testing::AssertionResult CutStrictly(const std::string& bytes, std::vector<std::string>& entries);
// Both files cut strictly into the pairs they hold; fails on uneven files too.
::testing::AssertionResult CutPairs(const std::string& jukugo, const std::string& yomi, std::vector<Word>& pairs);
std::ptrdiff_t CountFiles(const fs::path& folder);
using renkomi::test::Hex;

// UTF-8 as CP932, for the few Japanese texts the tests write themselves.
std::string Cp932(const std::string& utf8);

}  // namespace renkomi::faults
