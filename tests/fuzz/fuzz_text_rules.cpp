// Fuzzes the word rules on arbitrary bytes: none may read outside its text, and each
// must agree with a plain reference written straight from the rules, character by
// character, with no shortcuts.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "text_rules.h"

namespace {

bool RefLead(unsigned b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool RefTrail(unsigned b) { return b >= 0x40 && b <= 0xFC; }

bool RefDoubleByte(const std::string& t) {
  if (t.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    const unsigned b = static_cast<unsigned char>(t[i]);
    if (i % 2 == 0 ? !RefLead(b) : !RefTrail(b)) return false;
  }
  return true;
}

// Character k (1-based) as its 16-bit code.
unsigned RefCode(const std::string& t, std::size_t k) {
  return static_cast<unsigned char>(t[2 * k - 2]) * 256u + static_cast<unsigned char>(t[2 * k - 1]);
}

std::string RefMid(const std::string& t, std::size_t start, std::size_t count) {
  std::string out;
  const std::size_t n = t.size() / 2;
  for (std::size_t k = start; k <= n && k - start < count; ++k) out += t.substr(2 * k - 2, 2);
  return out;
}

std::string RefRight(const std::string& t, std::size_t count) {
  const std::size_t n = t.size() / 2;
  if (n < count) return t;
  return RefMid(t, n - count + 1, count);
}

bool RefRange(const std::string& t, unsigned low, unsigned high) {
  if (t.empty() || !RefDoubleByte(t)) return false;
  for (std::size_t k = 1; k <= t.size() / 2; ++k) {
    const unsigned c = RefCode(t, k);
    if (c < low || c > high) return false;
  }
  return true;
}

void Check(bool ok) {
  if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2) return 0;
  // The first two bytes choose the substring arguments; the rest is the text. The
  // text is copied into an allocation of its exact size so that ASan sees any read
  // past its end.
  const std::size_t start = 1 + data[0] % 140;
  const std::size_t count = data[1] % 140;
  const std::string text(reinterpret_cast<const char*>(data + 2), size - 2);
  const std::size_t half = text.size() / 2;
  const std::string previous = text.substr(0, half);
  const std::string next = text.substr(half);

  for (unsigned b = 0; b < 256; b += 37) {
    Check(renkomi::IsLeadByte(static_cast<unsigned char>(b)) == RefLead(b));
    Check(renkomi::IsTrailByte(static_cast<unsigned char>(b)) == RefTrail(b));
  }
  Check(renkomi::IsDoubleByteText(text) == RefDoubleByte(text));
  Check(renkomi::MidChars(text, start, count) == RefMid(text, start, count));
  Check(renkomi::LeftChars(text, count) == RefMid(text, 1, count));
  Check(renkomi::RightChars(text, count) == RefRight(text, count));
  Check(renkomi::IsChained(previous, next) == (RefRight(previous, 1) == RefMid(next, 1, 1)));
  Check(renkomi::IsJukugo(text) == RefRange(text, 0x889F, 0xFFFF));
  Check(renkomi::IsYomi(text) == RefRange(text, 0x82A0, 0x82F1));
  return 0;
}
