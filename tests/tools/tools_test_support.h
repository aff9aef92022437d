// Helpers for the tools' tests beyond the shared ones: text in other encodings
// through iconv, independent of the game's converter.
#pragma once

#include <iconv.h>

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

}  // namespace renkomi::test
