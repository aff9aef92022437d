// Fuzzes the dictionary line cutter: any file content cuts into entries without
// crashing, no entry holds a line end or NUL, and writing the entries out and
// cutting them again gives the same entries. The Shift-JIS check of a file's
// content refuses only with an Error, and content it lets through cuts into
// entries free of control characters whose last character is whole.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "dictionary_files.h"
#include "errors.h"
#include "shift_jis_file.h"
#include "text_rules.h"

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

  try {
    renkomi::CheckShiftJisText("fuzz.jdc", std::string_view(bytes).substr(0, end));
  } catch (const renkomi::Error&) {
    return 0;
  }
  for (const std::string& e : entries) {
    if (renkomi::HoldsControlCharacter(e)) std::abort();
    std::size_t i = 0;
    while (i < e.size()) i += renkomi::IsLeadByte(static_cast<unsigned char>(e[i])) ? 2 : 1;
    if (i != e.size()) std::abort();  // a lead byte without its trail byte
  }
  return 0;
}
