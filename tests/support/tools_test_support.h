// Helpers for the tests of the dictionary generator and the tools: text in other
// encodings through iconv, independent of the game's converter, and commands run
// as a shell runs them.
#pragma once

#include <iconv.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>

#include <stdexcept>
#include <string>
#include <string_view>

#include "test_support.h"

namespace renkomi::test {

// `text` from encoding `from` to encoding `to`; throws when it does not convert.
inline std::string Convert(std::string_view text, const char* to, const char* from) {
  iconv_t cd = iconv_open(to, from);
  if (cd == reinterpret_cast<iconv_t>(-1)) throw std::runtime_error("iconv_open failed");
  std::string in(text);
  std::string out(in.size() * 4 + 4, '\0');
  char* inPtr = in.data();
  std::size_t inLeft = in.size();
  char* outPtr = out.data();
  std::size_t outLeft = out.size();
  const std::size_t result = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
  iconv_close(cd);
  if (result == static_cast<std::size_t>(-1) || inLeft != 0) {
    throw std::runtime_error("cannot convert to " + std::string(to));
  }
  out.resize(out.size() - outLeft);
  return out;
}

struct RunResult {
  int status = -1;
  std::string output;  // stdout and stderr
};

// Runs a shell command line; its exit status and everything it printed.
inline RunResult RunCommand(const std::string& command) {
  RunResult result;
  FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (pipe == nullptr) return result;
  char buffer[512];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) result.output.append(buffer, n);
  const int status = ::pclose(pipe);
  result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return result;
}

// A path as one word of a shell command line.
inline std::string Quoted(const std::filesystem::path& path) { return "'" + path.string() + "'"; }

}  // namespace renkomi::test
