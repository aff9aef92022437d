#include "shift_jis_file.h"

#include <cstdio>
#include <string>

#include "cp932.h"
#include "errors.h"
#include "text_rules.h"

namespace renkomi {
namespace {

// The first thing that keeps the data from being Shift-JIS text, if any.
struct Fault {
  bool found = false;
  std::string what;  // with the line, counted as the line cutter counts lines
};

std::string Hex(unsigned char b) {
  char text[8];
  std::snprintf(text, sizeof text, "0x%02X", b);
  return text;
}

std::string ControlName(unsigned char b) {
  static const char* const kNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                         "BS",  "TAB", "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                         "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                         "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};
  return std::string(b < 0x20 ? kNames[b] : "DEL") + " (" + Hex(b) + ")";
}

bool IsControl(unsigned char b) { return b < 0x20 || b == 0x7F; }

// A trail byte as CP932 has them: the word rules' range without DEL, which no
// character holds (a DEL in a file is a control character, as typed text is told).
bool IsFileTrailByte(unsigned char b) { return IsTrailByte(b) && b != 0x7F; }

// Walks the data character by character, as the word rules cut it, and counts the
// lines as the line cutter does (CR LF, LF or CR end one line).
Fault FindFault(std::string_view data, bool& halfWidthKana) {
  std::size_t line = 1;
  for (std::size_t i = 0; i < data.size(); ++i) {
    const auto b = static_cast<unsigned char>(data[i]);
    if (b == '\r' || b == '\n') {
      if (b == '\r' && i + 1 < data.size() && data[i + 1] == '\n') ++i;
      ++line;
    } else if (IsControl(b)) {
      return {true, std::to_string(line) + " 行目に制御文字 " + ControlName(b) + " があります"};
    } else if (IsLeadByte(b)) {
      if (i + 1 == data.size() || data[i + 1] == '\r' || data[i + 1] == '\n')
        return {true, std::to_string(line) + " 行目の終わりで Shift-JIS の文字が切れています"};
      const auto trail = static_cast<unsigned char>(data[i + 1]);
      if (!IsFileTrailByte(trail)) {
        return {true, std::to_string(line) + " 行目に Shift-JIS にないバイトの並び " + Hex(b) + " " +
                                Hex(trail) + " があります"};
      }
      ++i;
    } else if (b >= 0xA1 && b <= 0xDF) {
      halfWidthKana = true;
    } else if (b >= 0x80) {
      return {true, std::to_string(line) + " 行目に Shift-JIS にないバイト " + Hex(b) + " があります"};
    }
  }
  return {};
}

// Whether the data holds a three-byte UTF-8 character of the blocks Japanese text
// is written in: kana and CJK punctuation (U+3000 to U+30FF), kanji (U+4E00 to
// U+9FFF) and the full-width forms (U+FF00 to U+FFEF). Japanese in UTF-8 is made of
// them; Shift-JIS half-width katakana, whose pairs may pass for two-byte UTF-8 (ﾃｽ
// is C3 BD), never form them.
bool HasJapaneseUtf8(std::string_view data) {
  for (std::size_t i = 0; i + 2 < data.size(); ++i) {
    const auto b0 = static_cast<unsigned char>(data[i]);
    const auto b1 = static_cast<unsigned char>(data[i + 1]);
    const auto b2 = static_cast<unsigned char>(data[i + 2]);
    if ((b2 & 0xC0) != 0x80 || (b1 & 0xC0) != 0x80) continue;
    const unsigned code = ((b0 & 0x0Fu) << 12) | ((b1 & 0x3Fu) << 6) | (b2 & 0x3Fu);
    if ((b0 & 0xF0) == 0xE0 &&
        ((code >= 0x3000 && code <= 0x30FF) || (code >= 0x4E00 && code <= 0x9FFF) || (code >= 0xFF00 && code <= 0xFFEF)))
      return true;
  }
  return false;
}

}  // namespace

void CheckShiftJisText(const std::filesystem::path& path, std::string_view data) {
  // The files have no byte-order mark, so a Shift-JIS file is taken from its first
  // byte on; these three bytes begin no Shift-JIS text (0xEFBB is no character).
  if (data.substr(0, 3) == "\xEF\xBB\xBF")
    throw ReadFileError(path.string(), "BOM 付きの UTF-8 のようです。Shift-JIS で保存してください");
  bool halfWidthKana = false;
  const Fault fault = FindFault(data, halfWidthKana);
  // Japanese in UTF-8 read as Shift-JIS always breaks apart or turns into
  // half-width katakana. Only a file that also shows the characters Japanese UTF-8
  // is made of counts as UTF-8: a Shift-JIS file that merely happens to be valid
  // UTF-8 as well (kanji, or half-width katakana that pair into two-byte UTF-8) is
  // played.
  if ((fault.found || halfWidthKana) && IsUtf8(data) && HasJapaneseUtf8(data))
    throw ReadFileError(path.string(), "UTF-8 のようです。Shift-JIS で保存してください");
  if (fault.found) throw ReadFileError(path.string(), fault.what);
}

}  // namespace renkomi
