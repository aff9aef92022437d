#include "fault_support.h"

#include <fcntl.h>
#include <iconv.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace renkomi::faults {

PlayerProcess::PlayerProcess(const std::vector<std::string>& arguments) {
  std::vector<std::string> all{RENKOMI_FAULT_PLAYER};
  all.insert(all.end(), arguments.begin(), arguments.end());
  std::vector<char*> argv;
  for (std::string& argument : all) argv.push_back(argument.data());
  argv.push_back(nullptr);

  int pipe[2];
  if (::pipe2(pipe, O_CLOEXEC) != 0) return;
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, pipe[1], STDERR_FILENO);
  pid_t pid = -1;
  if (::posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0) pid_ = pid;
  posix_spawn_file_actions_destroy(&actions);
  ::close(pipe[1]);
  // Read all along, so that a full pipe never stops the game.
  reader_ = std::thread([this, fd = pipe[0]] {
    char buffer[4096];
    for (;;) {
      const ssize_t n = ::read(fd, buffer, sizeof buffer);
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) break;
      const std::lock_guard<std::mutex> lock(mutex_);
      output_.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
  });
}

PlayerProcess::~PlayerProcess() {
  if (Started() && !finished_) Kill();
  if (reader_.joinable()) reader_.join();
}

bool PlayerProcess::Running() {
  if (!Started() || finished_) return false;
  int status = 0;
  const pid_t done = ::waitpid(pid_, &status, WNOHANG);
  if (done == pid_) {
    Finished(status);
    return false;
  }
  return true;
}

void PlayerProcess::Kill() {
  if (!Started() || finished_) return;
  ::kill(pid_, SIGKILL);
  int status = 0;
  while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
  }
  Finished(status);
}

bool PlayerProcess::WaitFinished(int timeoutMs) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (Running()) {
    if (std::chrono::steady_clock::now() > deadline) {
      Kill();
      return false;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return Started();
}

std::string PlayerProcess::Outcome() const {
  if (!Started()) return "not started";
  if (!finished_) return "running";
  if (WIFEXITED(status_)) return "exit " + std::to_string(WEXITSTATUS(status_));
  if (WIFSIGNALED(status_)) return "killed by signal " + std::to_string(WTERMSIG(status_));
  return "status " + std::to_string(status_);
}

std::string PlayerProcess::Log() const {
  const std::lock_guard<std::mutex> lock(mutex_);
  return output_;
}

void PlayerProcess::Finished(int status) {
  finished_ = true;
  status_ = status;
  // The game is gone, so its end of the pipe is closed: all it wrote is in.
  if (reader_.joinable()) reader_.join();
}

std::vector<ReportLine> ParseReport(const std::string& log) {
  // Only the robot's own lines: Qt and the sanitizers write to the same log.
  static const std::set<std::string> kKinds{"dialog", "state", "files", "exit", "fail"};
  std::vector<ReportLine> report;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    std::vector<std::string> fields;
    for (std::size_t start = 0, tab = 0; tab != std::string::npos; start = tab + 1) {
      tab = line.find('\t', start);
      fields.push_back(line.substr(start, tab == std::string::npos ? tab : tab - start));
    }
    ReportLine parsed{fields.front(), {fields.begin() + 1, fields.end()}};
    if (kKinds.count(parsed.kind) != 0 && (parsed.kind == "exit" || !parsed.fields.empty())) report.push_back(parsed);
  }
  return report;
}

std::vector<std::string> Errors(const std::vector<ReportLine>& report) {
  std::vector<std::string> errors;
  for (const ReportLine& line : report) {
    if (line.kind == "dialog" && line.fields.size() > 1 && line.fields[0] == "エラー") errors.push_back(line.fields[1]);
  }
  return errors;
}

int CountDialogs(const std::vector<ReportLine>& report, const std::string& caption, const std::string& text) {
  int count = 0;
  for (const ReportLine& line : report) {
    if (line.kind == "dialog" && line.fields.size() > 1 && line.fields[0] == caption && line.fields[1] == text)
      ++count;
  }
  return count;
}

// The key=value fields of the first line of this kind and label.
static std::map<std::string, std::string> FieldsAt(const std::vector<ReportLine>& report, const std::string& kind,
                                                   const std::string& label, bool* found) {
  std::map<std::string, std::string> fields;
  if (found != nullptr) *found = false;
  for (const ReportLine& line : report) {
    if (line.kind != kind || line.fields.at(0) != label) continue;
    if (found != nullptr) *found = true;
    for (std::size_t i = 1; i < line.fields.size(); ++i) {
      const std::size_t equals = line.fields[i].find('=');
      fields[line.fields[i].substr(0, equals)] = line.fields[i].substr(equals + 1);
    }
    break;
  }
  return fields;
}

std::map<std::string, std::string> StateAt(const std::vector<ReportLine>& report, const std::string& label) {
  return FieldsAt(report, "state", label, nullptr);
}

std::map<std::string, std::string> FilesAt(const std::vector<ReportLine>& report, const std::string& label,
                                           bool* found) {
  std::map<std::string, std::string> files = FieldsAt(report, "files", label, found);
  for (auto& [name, content] : files) {
    std::string bytes;
    for (std::size_t h = 0; h + 1 < content.size(); h += 2)
      bytes += static_cast<char>(std::stoi(content.substr(h, 2), nullptr, 16));
    content = bytes;
  }
  return files;
}

Played Play(const std::string& script, const fs::path& folder, const std::vector<std::string>& arguments) {
  std::vector<std::string> all{script, folder.string()};
  all.insert(all.end(), arguments.begin(), arguments.end());
  PlayerProcess player(all);
  EXPECT_TRUE(player.WaitFinished(60000)) << "still running\n" << player.Log();
  EXPECT_EQ(player.Outcome(), "exit 0") << player.Log();
  return {ParseReport(player.Log()), player.Log()};
}

std::vector<Word> MakeWords(std::size_t count) {
  // Kanji of the first level whose lead bytes 0x89 to 0x97 take every trail byte.
  constexpr std::size_t kKanji = 15 * 188;
  auto kanji = [](std::size_t k) {
    const std::size_t trail = k % 188;
    std::string bytes;
    bytes += static_cast<char>(0x89 + k / 188);
    bytes += static_cast<char>(trail < 63 ? 0x40 + trail : 0x80 + (trail - 63));
    return bytes;
  };
  // Hiragana あ (0x82A0) to ん (0x82F1).
  auto kana = [](std::size_t k) {
    std::string bytes;
    bytes += static_cast<char>(0x82);
    bytes += static_cast<char>(0xA0 + k % 82);
    return bytes;
  };
  std::vector<Word> words;
  for (std::size_t i = 0; i < count; ++i) {
    words.emplace_back(kanji(i % kKanji) + kanji((i / kKanji + i * 7) % kKanji),
                       kana(i / (82 * 82)) + kana(i / 82) + kana(i));
  }
  return words;
}

std::string FileBytes(const std::vector<std::string>& entries) {
  std::string bytes;
  for (const std::string& entry : entries) bytes += entry + "\r\n";
  return bytes;
}

std::string FileBytes(const std::vector<Word>& words, bool jukugo) {
  std::string bytes;
  for (const Word& word : words) bytes += (jukugo ? word.first : word.second) + "\r\n";
  return bytes;
}

std::string ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

::testing::AssertionResult CutStrictly(const std::string& bytes, std::vector<std::string>& entries) {
  entries.clear();
  std::size_t start = 0;
  while (start < bytes.size()) {
    const std::size_t end = bytes.find("\r\n", start);
    if (end == std::string::npos) {
      return ::testing::AssertionFailure() << "a partial last line at byte " << start << " of " << bytes.size();
    }
    const std::string entry = bytes.substr(start, end - start);
    if (entry.find_first_of("\r\n") != std::string::npos) {
      return ::testing::AssertionFailure() << "a lone line end in line " << entries.size() + 1;
    }
    entries.push_back(entry);
    start = end + 2;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult CutPairs(const std::string& jukugo, const std::string& yomi, std::vector<Word>& pairs) {
  std::vector<std::string> jukugoEntries;
  std::vector<std::string> yomiEntries;
  if (auto cut = CutStrictly(jukugo, jukugoEntries); !cut) return cut << " (jukugo file)";
  if (auto cut = CutStrictly(yomi, yomiEntries); !cut) return cut << " (reading file)";
  if (jukugoEntries.size() != yomiEntries.size())
    return ::testing::AssertionFailure() << jukugoEntries.size() << " jukugo but " << yomiEntries.size() << " readings";
  pairs.clear();
  for (std::size_t i = 0; i < jukugoEntries.size(); ++i) pairs.emplace_back(jukugoEntries[i], yomiEntries[i]);
  return ::testing::AssertionSuccess();
}

std::ptrdiff_t CountFiles(const fs::path& folder) {
  return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

std::string Cp932(const std::string& utf8) {
  iconv_t converter = ::iconv_open("CP932", "UTF-8");
  if (converter == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("no CP932 converter");
  std::string in = utf8;
  std::string out(in.size() * 2 + 4, '\0');
  char* inPointer = in.data();
  std::size_t inLeft = in.size();
  char* outPointer = out.data();
  std::size_t outLeft = out.size();
  const std::size_t done = ::iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft);
  ::iconv_close(converter);
  if (done == static_cast<std::size_t>(-1)) throw std::runtime_error("not CP932: " + utf8);
  out.resize(out.size() - outLeft);
  return out;
}

}  // namespace renkomi::faults
