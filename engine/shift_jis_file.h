// What a dictionary file must hold to be played: Shift-JIS text as the game writes
// it. A file another program wrote in another encoding (UTF-8 from a Linux text
// editor, with or without a byte-order mark), a character cut in half by a line
// end, a byte no Shift-JIS character begins with, or a control character inside an
// entry would be played as garbage and saved back that way; such a file is refused
// by name before any of it is used.
#pragma once

#include <filesystem>
#include <string_view>

namespace renkomi {

// Throws an Error that names `path` and says what is wrong with it, with the line
// number where one line is at fault, unless `data` (the file's content, up to a
// closing NUL) is Shift-JIS text: ASCII without control characters, half-width
// katakana, and lead bytes each followed by a trail byte on the same line.
void CheckShiftJisText(const std::filesystem::path& path, std::string_view data);

}  // namespace renkomi
