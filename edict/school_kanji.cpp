#include "school_kanji.h"

#include <algorithm>

#include "cp932.h"

namespace renkomi {

namespace {

// The school years of the elementary school; KANJIDIC's "G8" marks the rest of
// the kanji for daily use, taught in secondary school.
bool IsElementaryGrade(std::string_view field) {
  return field.size() == 2 && field[0] == 'G' && field[1] >= '1' && field[1] <= '6';
}

}  // namespace

void SchoolKanji::AddLine(std::string_view utf8) {
  const std::size_t space = utf8.find(' ');
  if (space == std::string_view::npos) return;
  const std::string kanji = Utf8ToCp932(utf8.substr(0, space));
  if (kanji.size() != 2 || Cp932ToUtf8(kanji) != utf8.substr(0, space)) return;
  // The fields before the meanings, which open with "{".
  std::string_view fields = utf8.substr(space + 1, utf8.find('{') - space - 1);
  while (!fields.empty()) {
    const std::size_t end = std::min(fields.find(' '), fields.size());
    if (IsElementaryGrade(fields.substr(0, end))) {
      kanji_.insert(kanji);
      return;
    }
    fields.remove_prefix(std::min(end + 1, fields.size()));
  }
}

void SchoolKanji::AddFile(const std::filesystem::path& path, const ReadProgress& progress) {
  EucJpDecoder decoder;
  std::string utf8;
  ReadLines(path, progress, [&](std::string_view raw) {
    if (decoder.Decode(raw, utf8)) AddLine(utf8);
  });
}

bool SchoolKanji::Teaches(std::string_view jukugo) const {
  if (jukugo.empty() || jukugo.size() % 2 != 0) return false;
  for (std::size_t i = 0; i < jukugo.size(); i += 2) {
    if (!kanji_.contains(std::string(jukugo.substr(i, 2)))) return false;
  }
  return true;
}

}  // namespace renkomi
