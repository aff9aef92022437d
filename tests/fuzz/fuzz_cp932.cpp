// Fuzzes the CP932 converter both ways: no crash on any input, a character CP932
// cannot hold never turns into kanji or hiragana, and what CP932 can hold survives
// a round trip.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "cp932.h"
#include "text_rules.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);

  // As CP932 from a file: decoding never fails, and the decoded text is stable
  // under a second trip (some characters have two CP932 codes; Unicode decides).
  const std::string unicode = renkomi::Cp932ToUtf8(bytes);
  const std::string again = renkomi::Cp932ToUtf8(renkomi::Utf8ToCp932(unicode));
  if (unicode.find("\xEF\xBF\xBD") == std::string::npos && again != unicode) std::abort();

  // As UTF-8 typed into a window: whatever comes out passes the word rules only
  // when the whole input was CP932 text.
  const std::string game = renkomi::Utf8ToCp932(bytes);
  if (!renkomi::IsCp932Encodable(bytes) && (renkomi::IsJukugo(game) || renkomi::IsYomi(game))) {
    std::abort();
  }
  if (renkomi::IsCp932Encodable(bytes)) {
    const std::string back = renkomi::Cp932ToUtf8(game);
    if (renkomi::Cp932ToUtf8(renkomi::Utf8ToCp932(back)) != back) std::abort();
  }
  return 0;
}
