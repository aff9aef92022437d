// Helpers shared by the tests: CP932 text from readable literals, a temporary
// folder that stands in for the program folder, whole-file bytes and hex, and the
// few steps that make root and an ordinary player meet the same file permissions.
#pragma once

#include <linux/capability.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "cp932.h"
#include "errors.h"

namespace renkomi::test {

// The message of the game's error `action` throws, or "(no error)".
template <typename Action>
std::string ErrorOf(Action&& action) {
  try {
    action();
  } catch (const Error& e) {
    return e.what();
  }
  return "(no error)";
}

// CP932 bytes of a UTF-8 literal; the converter has its own byte-level tests.
inline std::string Sj(std::string_view utf8) { return Utf8ToCp932(utf8); }

// The two files of a new dictionary, seeded with the five built-in words.
inline std::string BuiltInJukugoFile() { return Sj("日本\r\n本日\r\n本当\r\n当日\r\n入口\r\n"); }
inline std::string BuiltInYomiFile() {
  return Sj("にほん\r\nほんじつ\r\nほんとう\r\nとうじつ\r\nいりぐち\r\n");
}

inline std::vector<std::string> SjList(std::initializer_list<std::string_view> utf8) {
  std::vector<std::string> result;
  for (auto text : utf8) result.push_back(Sj(text));
  return result;
}

class TempFolder {
 public:
  TempFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "renkomi-test-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
    path_ = pattern;
  }
  ~TempFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& Path() const { return path_; }
  std::filesystem::path operator/(const std::string& name) const { return path_ / name; }

  // The names in the folder, sorted.
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(path_))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

 private:
  std::filesystem::path path_;
};

// Rows of data-driven tests print as their name, so that test lists stay readable.
// Brought into each test's namespace with `using test::PrintTo;`.
template <typename Row>
  requires requires(const Row& row) { std::string_view(row.name); }
void PrintTo(const Row& row, std::ostream* os) {
  *os << row.name;
}

inline std::string ReadBytes(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot read " + path.string());
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Bytes as lower-case hex digits, for messages about binary content.
inline std::string Hex(std::string_view bytes) {
  static const char digits[] = "0123456789abcdef";
  std::string hex;
  for (const unsigned char b : bytes) {
    hex += digits[b >> 4];
    hex += digits[b & 15];
  }
  return hex;
}

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  if (!out) throw std::runtime_error("cannot write " + path.string());
}

// ---- Root and a player alike

// Gives up, in this process, the capabilities that pass over file permissions, so
// that a read-only folder stops root as it stops a player (who never had them).
// False when the kernel refused.
inline bool MeetFilePermissions() {
  __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct data[2]{};
  if (::syscall(SYS_capget, &header, data) != 0) return false;
  for (const int cap : {CAP_DAC_OVERRIDE, CAP_DAC_READ_SEARCH, CAP_FOWNER})
    data[cap / 32].effective &= ~(1u << (cap % 32));
  return ::syscall(SYS_capset, &header, data) == 0;
}

// The first of the subordinate ids that /etc/subuid or /etc/subgid gives this
// user (by name or number); empty when it gives none.
inline std::string FirstSubordinateId(const char* file) {
  const std::string uid = std::to_string(::getuid());
  const passwd* user = ::getpwuid(::getuid());
  const std::string name = user != nullptr ? user->pw_name : uid;
  std::ifstream in(file);
  for (std::string line; std::getline(in, line);) {
    const std::string owner = line.substr(0, line.find(':'));
    if (owner != uid && owner != name) continue;
    const std::size_t from = owner.size() + 1;
    return line.size() > from ? line.substr(from, line.find(':', from) - from) : std::string();
  }
  return {};
}

// Hands `path` to a user other than the one running the tests, as another player
// on the machine would own it. Root gives it to nobody; a player, who may not give
// files away, gives it to one of the user ids the system set aside for them
// (/etc/subuid, used through newuidmap from the package uidmap, in a user
// namespace). True when the file then belongs to someone else.
// A forked child that never outlives its test: a test that fails before it has
// ended the child, or a child that hangs, would otherwise hold ctest (which waits
// for everything that shares the test's output) until its time limit.
class Child {
 public:
  explicit Child(pid_t pid) : pid_(pid) {}
  Child(const Child&) = delete;
  Child& operator=(const Child&) = delete;
  ~Child() { Kill(); }

  // The child's wait status once it has ended; when it has not ended within
  // `timeoutMs` it is killed and the status is that of the kill.
  int Wait(int timeoutMs = 20000) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (pid_ > 0 && std::chrono::steady_clock::now() < deadline) {
      int status = 0;
      const pid_t done = ::waitpid(pid_, &status, WNOHANG);
      if (done == pid_ || (done < 0 && errno != EINTR)) {
        pid_ = -1;
        return status;
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return Kill();
  }
  int Kill() {
    int status = 0;
    if (pid_ <= 0) return status;
    ::kill(pid_, SIGKILL);
    while (::waitpid(pid_, &status, 0) < 0 && errno == EINTR) {
    }
    pid_ = -1;
    return status;
  }

 private:
  pid_t pid_;
};

inline bool GiveToAnotherUser(const std::filesystem::path& path) {
  if (::geteuid() == 0) {
    if (::chown(path.c_str(), 65534, 65534) != 0) return false;
  } else {
    const std::string users = FirstSubordinateId("/etc/subuid");
    const std::string groups = FirstSubordinateId("/etc/subgid");
    if (users.empty() || groups.empty()) return false;
    const std::string mapUsers = "--map-users=" + users + ",1,1";
    const std::string mapGroups = "--map-groups=" + groups + ",1,1";
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
      ::execlp("unshare", "unshare", "--user", "--map-root-user", mapUsers.c_str(), mapGroups.c_str(),
               "chown", "1:1", path.c_str(), static_cast<char*>(nullptr));
      ::_exit(127);
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return false;
  }
  struct stat info {};
  return ::stat(path.c_str(), &info) == 0 && info.st_uid != ::getuid();
}

}  // namespace renkomi::test
