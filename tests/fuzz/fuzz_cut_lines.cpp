// Fuzzes the dictionary line cutter: any file content cuts into entries without
// crashing, no entry holds a line end or NUL, and writing the entries out and
// cutting them again gives the same entries.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary_files.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<std::string> entries = renkomi::CutLines(bytes);

  std::size_t consumed = 0;
  for (const std::string& e : entries) {
    if (e.find_first_of(std::string_view("\r\n\0", 3)) != std::string::npos) std::abort();
    consumed += e.size();
  }
  // Every entry is a piece of the data before its first NUL.
  const std::size_t end = bytes.find('\0');
  if (consumed > (end == std::string::npos ? bytes.size() : end)) std::abort();

  const std::string written = renkomi::JoinLines(entries);
  if (renkomi::CutLines(written) != entries) std::abort();
  if (written.size() != consumed + 2 * entries.size()) std::abort();
  return 0;
}
