#include "japanese_text.h"

#include <algorithm>
#include <vector>

#include "cp932.h"
#include "text_rules.h"

namespace renkomi {

namespace {

constexpr char32_t kInvalid = 0xFFFD;

std::vector<char32_t> DecodeUtf8(std::string_view s) {
  std::vector<char32_t> out;
  std::size_t i = 0;
  while (i < s.size()) {
    const auto b = static_cast<unsigned char>(s[i]);
    std::size_t length = 0;
    char32_t cp = 0;
    if (b < 0x80) {
      length = 1;
      cp = b;
    } else if (b >= 0xC2 && b <= 0xDF) {
      length = 2;
      cp = b & 0x1F;
    } else if (b >= 0xE0 && b <= 0xEF) {
      length = 3;
      cp = b & 0x0F;
    } else if (b >= 0xF0 && b <= 0xF4) {
      length = 4;
      cp = b & 0x07;
    }
    bool valid = length != 0 && i + length <= s.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto c = static_cast<unsigned char>(s[i + k]);
      if ((c & 0xC0) != 0x80) {
        valid = false;
      } else {
        cp = (cp << 6) | (c & 0x3F);
      }
    }
    if (valid) {
      out.push_back(cp);
      i += length;
    } else {
      out.push_back(kInvalid);
      ++i;
    }
  }
  return out;
}

void AppendUtf8(char32_t cp, std::string& out) {
  if (cp < 0x80) {
    out += static_cast<char>(cp);
  } else if (cp < 0x800) {
    out += static_cast<char>(0xC0 | (cp >> 6));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else if (cp < 0x10000) {
    out += static_cast<char>(0xE0 | (cp >> 12));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  } else {
    out += static_cast<char>(0xF0 | (cp >> 18));
    out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
    out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
    out += static_cast<char>(0x80 | (cp & 0x3F));
  }
}

bool IsIdeograph(char32_t cp) {
  return (cp >= 0x4E00 && cp <= 0x9FFF) || (cp >= 0x3400 && cp <= 0x4DBF) || (cp >= 0xF900 && cp <= 0xFAFF);
}

// The CP932 form, or empty when CP932 cannot hold the text exactly: the converter
// puts a stand-in for what it lacks and maps a few characters one way only.
std::string ExactCp932(std::string_view utf8) {
  std::string cp932 = Utf8ToCp932(utf8);
  if (Cp932ToUtf8(cp932) != utf8) return {};
  return cp932;
}

}  // namespace

bool IsIdeographWord(std::string_view utf8) {
  const std::vector<char32_t> chars = DecodeUtf8(utf8);
  return chars.size() >= 2 && std::all_of(chars.begin(), chars.end(), IsIdeograph);
}

std::string KatakanaToHiragana(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (char32_t cp : DecodeUtf8(utf8)) {
    AppendUtf8(cp >= 0x30A1 && cp <= 0x30F6 ? cp - 0x60 : cp, out);
  }
  return out;
}

std::string JukugoFor(std::string_view spelling) {
  if (!IsIdeographWord(spelling)) return {};
  std::string cp932 = ExactCp932(spelling);
  return IsJukugo(cp932) ? cp932 : std::string();
}

std::string YomiFor(std::string_view reading) {
  std::string cp932 = ExactCp932(KatakanaToHiragana(reading));
  return IsYomi(cp932) ? cp932 : std::string();
}

}  // namespace renkomi
