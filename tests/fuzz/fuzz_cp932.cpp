// Fuzzes the CP932 converter both ways: no crash on any input, a character CP932
// cannot hold never turns into kanji or hiragana and never vanishes without its
// mark, and what CP932 can hold survives a round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "cp932.h"
#include "text_rules.h"

namespace {

// The input's characters as a window hands them over: each well-formed UTF-8
// sequence (Unicode's table of well-formed byte sequences), and each byte that
// starts none on its own. Written from the table, not from the converter.
std::vector<std::string> RefUtf8Units(std::string_view s) {
  std::vector<std::string> units;
  std::size_t i = 0;
  while (i < s.size()) {
    const unsigned b = static_cast<unsigned char>(s[i]);
    std::size_t len = 0;
    unsigned low = 0x80, high = 0xBF;
    if (b < 0x80) len = 1;
    else if (b >= 0xC2 && b <= 0xDF) len = 2;
    else if (b == 0xE0) len = 3, low = 0xA0;
    else if (b >= 0xE1 && b <= 0xEC) len = 3;
    else if (b == 0xED) len = 3, high = 0x9F;
    else if (b >= 0xEE && b <= 0xEF) len = 3;
    else if (b == 0xF0) len = 4, low = 0x90;
    else if (b >= 0xF1 && b <= 0xF3) len = 4;
    else if (b == 0xF4) len = 4, high = 0x8F;
    bool whole = len != 0 && i + len <= s.size();
    for (std::size_t k = 1; whole && k < len; ++k) {
      const unsigned c = static_cast<unsigned char>(s[i + k]);
      whole = k == 1 ? c >= low && c <= high : c >= 0x80 && c <= 0xBF;
    }
    if (!whole) len = 1;
    units.emplace_back(s.substr(i, len));
    i += len;
  }
  return units;
}

// The characters of converter output: a lead byte with the byte after it, or one byte.
std::vector<std::string> Cp932Chars(std::string_view s) {
  std::vector<std::string> chars;
  for (std::size_t i = 0; i < s.size();) {
    const std::size_t len = renkomi::IsLeadByte(static_cast<unsigned char>(s[i])) && i + 1 < s.size() ? 2 : 1;
    chars.emplace_back(s.substr(i, len));
    i += len;
  }
  return chars;
}

// Every input character comes out as exactly one CP932 character, in order: the
// same one it gives alone, and either the SUB mark or a real CP932 character that
// reads back as itself. The text is called encodable exactly when no character
// but a SUB of its own was marked.
void CheckNothingVanishes(const std::string& utf8, const std::string& game) {
  const std::vector<std::string> units = RefUtf8Units(utf8);
  const std::vector<std::string> chars = Cp932Chars(game);
  if (units.size() != chars.size()) std::abort();
  bool marked = false;
  for (std::size_t i = 0; i < units.size(); ++i) {
    if (renkomi::Utf8ToCp932(units[i]) != chars[i]) std::abort();
    if (chars[i] == "\x1A") {
      marked = marked || units[i] != "\x1A";
      continue;
    }
    const std::string back = renkomi::Cp932ToUtf8(chars[i]);
    if (back.find("\xEF\xBF\xBD") != std::string::npos || renkomi::Utf8ToCp932(back) != chars[i]) std::abort();
  }
  if (renkomi::IsCp932Encodable(utf8) == marked) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // As CP932 from a file: decoding never fails, and the decoded text is stable
  // under a second trip (some characters have two CP932 codes; Unicode decides).
  const std::string unicode = renkomi::Cp932ToUtf8(bytes);
  const std::string again = renkomi::Cp932ToUtf8(renkomi::Utf8ToCp932(unicode));
  if (unicode.find("\xEF\xBF\xBD") == std::string::npos && again != unicode) std::abort();

  // As UTF-8 typed into a window: whatever comes out passes the word rules only
  // when the whole input was CP932 text, and no character is lost on the way.
  const std::string game = renkomi::Utf8ToCp932(bytes);
  if (!renkomi::IsCp932Encodable(bytes) && (renkomi::IsJukugo(game) || renkomi::IsYomi(game))) {
    std::abort();
  }
  CheckNothingVanishes(bytes, game);
  if (renkomi::IsCp932Encodable(bytes)) {
    const std::string back = renkomi::Cp932ToUtf8(game);
    if (renkomi::Cp932ToUtf8(renkomi::Utf8ToCp932(back)) != back) std::abort();
  }
  return 0;
}
