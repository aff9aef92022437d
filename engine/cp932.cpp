#include "cp932.h"

#include <iconv.h>

#include <cerrno>
#include <cstddef>

#include "errors.h"

namespace renkomi {
namespace {

// One iconv descriptor per direction and thread, opened on first use: the
// organizer converts a whole dictionary entry by entry, and opening a descriptor
// costs far more than converting a word.
class Converter {
 public:
  Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
    if (cd_ == reinterpret_cast<iconv_t>(-1))
      throw Error(std::string("文字コードを変換できません (") + from + " → " + to + ")");
  }
  ~Converter() { iconv_close(cd_); }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  // Converts `in`. At a sequence iconv refuses, `onError` appends its stand-in to
  // the output and returns how many input bytes to skip (at least 1); with no
  // `onError` the conversion stops and reports false.
  template <typename OnError>
  bool Convert(std::string_view in, std::size_t bytesPerInputByte, std::string& out,
               OnError onError) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    out.assign(in.size() * bytesPerInputByte + 16, '\0');
    char* inPtr = const_cast<char*>(in.data());
    std::size_t inLeft = in.size();
    char* outPtr = out.data();
    std::size_t outLeft = out.size();
    auto grow = [&](std::size_t extra) {
      const std::size_t used = static_cast<std::size_t>(outPtr - out.data());
      out.resize(out.size() + extra);
      outPtr = out.data() + used;
      outLeft = out.size() - used;
    };
    while (inLeft > 0) {
      if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) != static_cast<std::size_t>(-1)) break;
      if (errno == E2BIG) {
        grow(out.size() + 16);
        continue;
      }
      if (errno != EILSEQ && errno != EINVAL) return false;
      std::string standIn;
      std::size_t skip = onError(std::string_view(inPtr, inLeft), standIn);
      if (skip == 0) return false;
      if (skip > inLeft) skip = inLeft;
      if (outLeft < standIn.size()) grow(standIn.size() + 16);
      for (char c : standIn) {
        *outPtr++ = c;
        --outLeft;
      }
      inPtr += skip;
      inLeft -= skip;
    }
    out.resize(static_cast<std::size_t>(outPtr - out.data()));
    return true;
  }

  // Appends the conversion of one whole character; false, appending nothing, when
  // iconv refuses it or turns it into nothing.
  bool ConvertOne(std::string_view character, std::string& out) {
    char buffer[16];
    char* inPtr = const_cast<char*>(character.data());
    std::size_t inLeft = character.size();
    char* outPtr = buffer;
    std::size_t outLeft = sizeof buffer;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
      iconv(cd_, nullptr, nullptr, nullptr, nullptr);
      return false;
    }
    if (outPtr == buffer) return false;
    out.append(buffer, static_cast<std::size_t>(outPtr - buffer));
    return true;
  }

 private:
  iconv_t cd_;
};

Converter& ToCp932() {
  thread_local Converter converter("CP932", "UTF-8");
  return converter;
}

Converter& ToUtf8() {
  thread_local Converter converter("UTF-8", "CP932");
  return converter;
}

// Length of the well-formed UTF-8 sequence at the start of `s`, or 0.
std::size_t Utf8SequenceLength(std::string_view s) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(s[i]); };
  const unsigned char b0 = byte(0);
  std::size_t len;
  unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
  if (b0 < 0x80) return 1;
  if (b0 >= 0xC2 && b0 <= 0xDF) {
    len = 2;
  } else if (b0 >= 0xE0 && b0 <= 0xEF) {
    len = 3;
    if (b0 == 0xE0) low = 0xA0;
    if (b0 == 0xED) high = 0x9F;  // no surrogates
  } else if (b0 >= 0xF0 && b0 <= 0xF4) {
    len = 4;
    if (b0 == 0xF0) low = 0x90;
    if (b0 == 0xF4) high = 0x8F;
  } else {
    return 0;
  }
  if (s.size() < len) return 0;
  if (byte(1) < low || byte(1) > high) return 0;
  for (std::size_t i = 2; i < len; ++i)
    if (byte(i) < 0x80 || byte(i) > 0xBF) return 0;
  return len;
}

// The SUB control character stands for a character CP932 cannot hold: it never
// passes the kanji or hiragana tests, and no control character is ever stored in a
// dictionary.
constexpr char kStandIn = '\x1A';

// Appends the CP932 form of `utf8`, one character at a time, and reports whether
// every character had one. iconv skips some characters without an error (the
// Unicode tag characters U+E0000 to U+E007F, which a paste can carry), so a
// character that comes out as no bytes at all gets the stand-in like any other
// that CP932 lacks: no character ever vanishes without its mark.
bool EncodeEach(std::string_view utf8, std::string& out) {
  Converter& converter = ToCp932();
  bool whole = true;
  while (!utf8.empty()) {
    const std::size_t len = Utf8SequenceLength(utf8);
    const std::size_t taken = len == 0 ? 1 : len;
    if (len == 1) {
      out += utf8[0];  // CP932 holds ASCII as it is
    } else if (len == 0 || !converter.ConvertOne(utf8.substr(0, len), out)) {
      out += kStandIn;
      whole = false;
    }
    utf8.remove_prefix(taken);
  }
  return whole;
}

}  // namespace

std::string Utf8ToCp932(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  EncodeEach(utf8, out);
  return out;
}

std::string Cp932ToUtf8(std::string_view cp932) {
  std::string out;
  ToUtf8().Convert(cp932, 3, out, [](std::string_view, std::string& standIn) {
    standIn = "\xEF\xBF\xBD";  // U+FFFD for the one byte, then go on after it
    return std::size_t{1};
  });
  return out;
}

bool IsUtf8(std::string_view bytes) {
  while (!bytes.empty()) {
    const std::size_t len = Utf8SequenceLength(bytes);
    if (len == 0) return false;
    bytes.remove_prefix(len);
  }
  return true;
}

bool IsCp932Encodable(std::string_view utf8) {
  std::string out;
  return EncodeEach(utf8, out);
}

}  // namespace renkomi
