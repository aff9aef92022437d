// The one converter between the windows' Unicode (UTF-8) and the CP932 bytes the
// game works in. Only the window layer calls it; the word rules never convert.
#pragma once

#include <string>
#include <string_view>

namespace renkomi {

// UTF-8 to CP932. Every character that CP932 cannot hold (an emoji, a Unicode tag
// character, say) becomes the control byte SUB (0x1A), so the result is never
// taken for kanji or hiragana and is never stored (see HoldsControlCharacter);
// each byte of malformed UTF-8 is treated the same way. No character is dropped.
std::string Utf8ToCp932(std::string_view utf8);

// CP932 to UTF-8. A byte that does not start a valid CP932 character becomes
// U+FFFD, so text from a damaged file still shows, and never aborts.
std::string Cp932ToUtf8(std::string_view cp932);

// True when the bytes are well-formed UTF-8 (the empty text too).
bool IsUtf8(std::string_view bytes);

// True when every character of the text has a CP932 form (no SUB stand-in).
bool IsCp932Encodable(std::string_view utf8);

}  // namespace renkomi
