#include "edict_import.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "cp932.h"
#include "dictionary_files.h"
#include "pair_save.h"
#include "errors.h"
#include "text_rules.h"

namespace renkomi {

namespace {

// Spelling and reading tags that mark a form the player would not type: irregular
// or outdated kanji and kana, irregular okurigana, phonetic kanji.
constexpr std::array<std::string_view, 6> kSkippedTags = {"iK", "oK", "ik", "ok", "io", "ateji"};
constexpr std::string_view kCommonTag = "P";

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

bool HasSkippedTag(const std::vector<std::string>& tags) {
  return std::any_of(tags.begin(), tags.end(), [](const std::string& tag) {
    return std::find(kSkippedTags.begin(), kSkippedTags.end(), tag) != kSkippedTags.end();
  });
}

bool AnyCommon(const std::vector<EdictHeadword>& words) {
  return std::any_of(words.begin(), words.end(), [](const EdictHeadword& w) { return w.HasTag(kCommonTag); });
}

// The CP932 form, or empty when CP932 cannot hold the text exactly: the converter
// puts a stand-in for what it lacks and maps a few characters one way only.
std::string ExactCp932(std::string_view utf8) {
  std::string cp932 = Utf8ToCp932(utf8);
  if (Cp932ToUtf8(cp932) != utf8) return {};
  return cp932;
}

// EUC-JP to UTF-8 with glibc's iconv, line by line, so that one damaged line
// costs only itself.
class EucJpDecoder {
 public:
  EucJpDecoder() : cd_(iconv_open("UTF-8", "EUC-JP")) {
    if (cd_ == reinterpret_cast<iconv_t>(-1)) {
      throw Error(std::string("Cannot convert from EUC-JP: ") + std::strerror(errno));
    }
  }
  ~EucJpDecoder() { iconv_close(cd_); }
  EucJpDecoder(const EucJpDecoder&) = delete;
  EucJpDecoder& operator=(const EucJpDecoder&) = delete;

  // False when the line is not valid EUC-JP.
  bool Decode(std::string_view eucJp, std::string& utf8) {
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);
    in_.assign(eucJp.begin(), eucJp.end());
    // Two EUC-JP bytes never make more than three UTF-8 bytes.
    utf8.resize(in_.size() * 2 + 4);
    char* inPtr = in_.data();
    std::size_t inLeft = in_.size();
    char* outPtr = utf8.data();
    std::size_t outLeft = utf8.size();
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == static_cast<std::size_t>(-1) || inLeft != 0) {
      return false;
    }
    utf8.resize(utf8.size() - outLeft);
    return true;
  }

 private:
  iconv_t cd_;
  std::string in_;
};

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

void EdictImport::AddLine(std::string_view utf8) {
  ++lines_;
  if (const std::optional<EdictLine> line = ParseEdictLine(utf8)) Add(*line);
}

void EdictImport::Add(const EdictLine& line) {
  // The EDICT layout marks a common line with a "(P)" field; EDICT2 also marks
  // which of several spellings and readings are the common ones.
  // The whole vocabulary takes every line and every spelling and reading in it,
  // through the same filters of tags and restrictions.
  const bool all = vocabulary_ == Vocabulary::kAll;
  const bool spellingsMarked = !all && AnyCommon(line.spellings);
  const bool readingsMarked = !all && AnyCommon(line.readings);
  if (!all && !line.common && !spellingsMarked && !readingsMarked) return;
  if (HasSkippedTag(line.leadingTags)) return;

  for (const EdictHeadword& spelling : line.spellings) {
    if (spellingsMarked && !spelling.HasTag(kCommonTag)) continue;
    if (HasSkippedTag(spelling.tags)) continue;
    std::string jukugo = JukugoFor(spelling.text);
    if (jukugo.empty() || seen_.contains(jukugo)) continue;
    for (const EdictHeadword& reading : line.readings) {
      if (readingsMarked && !reading.HasTag(kCommonTag)) continue;
      if (HasSkippedTag(reading.tags)) continue;
      if (!reading.onlyFor.empty() &&
          std::find(reading.onlyFor.begin(), reading.onlyFor.end(), spelling.text) == reading.onlyFor.end()) {
        continue;
      }
      std::string yomi = YomiFor(reading.text);
      if (yomi.empty()) continue;
      seen_.insert(jukugo);
      jukugo_.push_back(std::move(jukugo));
      yomi_.push_back(std::move(yomi));
      break;
    }
  }
}

void EdictImport::AddFile(const std::filesystem::path& path, std::initializer_list<EdictImport*> imports,
                          const ReadProgress& progress) {
  std::ifstream file(path, std::ios::binary);
  if (!file) throw Error("Cannot open " + path.string() + ": " + std::strerror(errno));
  std::error_code noSize;
  std::uintmax_t size = progress ? std::filesystem::file_size(path, noSize) : 0;
  if (noSize) size = 0;
  // Often enough for a smooth bar, seldom enough to cost nothing.
  constexpr std::size_t kLinesPerReport = 4096;
  std::size_t lines = 0;
  EucJpDecoder decoder;
  std::string raw;
  std::string utf8;
  while (std::getline(file, raw)) {
    if (progress && ++lines % kLinesPerReport == 0) {
      progress(static_cast<std::uintmax_t>(file.tellg()), size);
    }
    if (!raw.empty() && raw.back() == '\r') raw.pop_back();
    const bool decoded = decoder.Decode(raw, utf8);
    for (EdictImport* import : imports) {
      if (decoded) {
        import->AddLine(utf8);
      } else {
        ++import->lines_;
        ++import->undecodable_;
      }
    }
  }
  if (file.bad()) throw Error("Cannot read " + path.string());
  if (progress) progress(size, size);
}

void EnsureNoSharedDictionary(const std::filesystem::path& programFolder) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(programFolder, ec)) {
    throw Error("The program folder " + programFolder.string() + " does not exist");
  }
  for (std::string_view name : {kSharedJukugoFile, kSharedYomiFile}) {
    const fs::path path = programFolder / name;
    // symlink_status, so that even a dangling link counts as the player's file.
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() == fs::file_type::none) {
      throw Error("Cannot check " + path.string() + ": " + ec.message());
    }
    if (status.type() != fs::file_type::not_found) {
      throw Error(path.string() + " already exists; the shared dictionary is left as it is");
    }
  }
}

std::string LargeDictionaryName(std::size_t pairs) {
  const std::string size = pairs >= 10000 ? std::to_string(pairs / 10000) + "万" : std::to_string(pairs);
  return std::string(kLargeDictionaryPrefix) + size + "語";
}

std::vector<std::filesystem::path> ExistingLargeDictionary(const std::filesystem::path& programFolder) {
  namespace fs = std::filesystem;
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(programFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const bool dictionaryFile = name.ends_with(".jdc") || name.ends_with(".ydc");
    if (dictionaryFile && name.starts_with(kLargeDictionaryPrefix)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

std::string WriteLargeDictionary(const std::filesystem::path& programFolder, const EdictImport& words) {
  namespace fs = std::filesystem;
  std::error_code ec;
  if (!fs::is_directory(programFolder, ec)) {
    throw Error("The program folder " + programFolder.string() + " does not exist");
  }
  if (const auto existing = ExistingLargeDictionary(programFolder); !existing.empty()) {
    throw Error(existing.front().string() + " already exists; the large dictionary is left as it is");
  }
  if (words.Jukugo().empty()) throw Error("No word pair was found; the large dictionary was not written");
  const std::string name = LargeDictionaryName(words.Jukugo().size());
  SavePair(programFolder / (name + ".jdc"), words.Jukugo(), programFolder / (name + ".ydc"), words.Yomi());
  return name;
}

void WriteSharedDictionary(const std::filesystem::path& programFolder, const EdictImport& words) {
  EnsureNoSharedDictionary(programFolder);
  if (words.Jukugo().empty()) {
    throw Error("No word pair was found; the shared dictionary was not written");
  }
  SavePair(programFolder / kSharedJukugoFile, words.Jukugo(), programFolder / kSharedYomiFile, words.Yomi());
}

}  // namespace renkomi
