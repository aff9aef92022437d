#include "dictionary_folder.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <system_error>
#include <unordered_set>

#include "dictionary_files.h"
#include "errors.h"
#include "file_io.h"
#include "pair_save.h"

namespace renkomi {

namespace {

namespace fs = std::filesystem;

Error MissingFolderError(const fs::path& folder) {
  return Error("辞書を置くフォルダ " + folder.string() + " がありません");
}

Error ExistingDictionaryError(const fs::path& file) {
  return Error("ファイル " + file.string() + " がすでにあるので、その辞書は作りません");
}

Error NoWordError() { return Error("edict に辞書に使えることばがひとつもありません"); }

void EnsureFolder(const fs::path& folder) {
  std::error_code ec;
  if (!fs::is_directory(folder, ec)) throw MissingFolderError(folder);
}

}  // namespace

std::string SizedDictionaryName(std::string_view prefix, std::size_t pairs) {
  const std::string size = pairs >= 10000 ? std::to_string(pairs / 10000) + "万" : std::to_string(pairs);
  return std::string(prefix) + size + "語";
}

void EnsureNoSharedDictionary(const fs::path& programFolder) {
  EnsureFolder(programFolder);
  for (std::string_view name : {kSharedJukugoFile, kSharedYomiFile}) {
    const fs::path path = programFolder / name;
    std::error_code ec;
    // symlink_status, so that even a dangling link counts as the player's file.
    const fs::file_status status = fs::symlink_status(path, ec);
    if (status.type() == fs::file_type::none) throw ReadFileError(path.string(), SystemReason(ec.value()));
    if (status.type() != fs::file_type::not_found) throw ExistingDictionaryError(path);
  }
}

std::vector<fs::path> ExistingSizedDictionary(const fs::path& programFolder, std::string_view prefix) {
  std::vector<fs::path> found;
  std::error_code ec;
  for (fs::directory_iterator it(programFolder, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = it->path().filename().string();
    const bool dictionaryFile = name.ends_with(".jdc") || name.ends_with(".ydc");
    if (dictionaryFile && name.starts_with(prefix)) found.push_back(it->path());
  }
  std::sort(found.begin(), found.end());
  return found;
}

void WriteSharedDictionary(const fs::path& programFolder, const Pairs& pairs) {
  EnsureNoSharedDictionary(programFolder);
  if (pairs.jukugo.empty()) throw NoWordError();
  SavePair(programFolder / kSharedJukugoFile, pairs.jukugo, programFolder / kSharedYomiFile, pairs.yomi);
}

std::string WriteSizedDictionary(const fs::path& programFolder, std::string_view prefix, const Pairs& pairs) {
  EnsureFolder(programFolder);
  if (const auto existing = ExistingSizedDictionary(programFolder, prefix); !existing.empty()) {
    throw ExistingDictionaryError(existing.front());
  }
  if (pairs.jukugo.empty()) throw NoWordError();
  const std::string name = SizedDictionaryName(prefix, pairs.jukugo.size());
  SavePair(programFolder / (name + ".jdc"), pairs.jukugo, programFolder / (name + ".ydc"), pairs.yomi);
  return name;
}

std::size_t CorrectDictionary(const fs::path& programFolder, const std::string& name, const Correction& correction) {
  Folder folder(programFolder);
  if (!folder.Open()) throw MissingFolderError(programFolder);
  const std::string jukugoName = name + ".jdc";
  const std::string yomiName = name + ".ydc";
  PairLock lock(folder, jukugoName);
  RecoverPair(folder, jukugoName, yomiName, lock);
  std::vector<std::string> jukugo;
  std::vector<std::string> yomi;
  // Half a pair is not a dictionary the generator made; the game says so when
  // the player chooses it.
  if (ReadEntries(folder, jukugoName, jukugo) == ReadResult::kMissing ||
      ReadEntries(folder, yomiName, yomi) == ReadResult::kMissing) {
    return 0;
  }
  if (jukugo.size() != yomi.size()) {
    throw UnevenPairError(folder.PathOf(jukugoName).string(), jukugo.size(), folder.PathOf(yomiName).string(),
                          yomi.size());
  }

  std::unordered_map<std::string_view, std::size_t> lines;
  for (const std::string& j : jukugo) ++lines[j];
  std::size_t changed = 0;
  std::size_t generated = 0;
  for (std::size_t i = 0; i < jukugo.size(); ++i) {
    const auto at = correction.readings.find(jukugo[i]);
    if (at == correction.readings.end()) continue;
    const auto& [earlier, now] = at->second;
    if (yomi[i] == earlier || yomi[i] == now) ++generated;
    // A second line of the jukugo is the player's: which line is the generator's
    // cannot be told, so both stay.
    if (yomi[i] == earlier && earlier != now && lines[jukugo[i]] == 1) {
      yomi[i] = now;
      ++changed;
    }
  }
  if (generated * 2 >= jukugo.size()) {
    for (std::size_t i = 0; i < correction.additions.jukugo.size(); ++i) {
      if (lines.contains(correction.additions.jukugo[i])) continue;
      jukugo.push_back(correction.additions.jukugo[i]);
      yomi.push_back(correction.additions.yomi[i]);
      ++changed;
    }
  }
  if (changed == 0) return 0;
  SaveJoinedPair(folder, jukugoName, JoinCheckedLines(folder.PathOf(jukugoName), jukugo), yomiName,
                 JoinCheckedLines(folder.PathOf(yomiName), yomi), lock);
  return changed;
}

WordsRecord ReadWordsRecord(const fs::path& programFolder) {
  WordsRecord record;
  std::ifstream file(programFolder / kWordsRecordFile);
  std::string key;
  std::string value;
  while (file >> key >> value) {
    if (key == "version") record.version = std::atoi(value.c_str());
    if (key == "costs") record.costs = value == "yes";
    if (key == "school") record.school = value == "yes";
  }
  return record;
}

void WriteWordsRecord(const fs::path& programFolder, const WordsRecord& record) {
  std::ostringstream text;
  text << "version " << record.version << "\ncosts " << (record.costs ? "yes" : "no") << "\nschool "
       << (record.school ? "yes" : "no") << "\n";
  const fs::path path = programFolder / kWordsRecordFile;
  const fs::path temporary = programFolder / (std::string(kWordsRecordFile) + ".tmp-" + std::to_string(::getpid()));
  {
    std::ofstream file(temporary, std::ios::binary | std::ios::trunc);
    file << text.str();
    file.flush();
    if (!file) {
      const int error = errno;
      std::error_code ignored;
      fs::remove(temporary, ignored);
      throw WriteError(path.string(), error);
    }
  }
  std::error_code ec;
  fs::rename(temporary, path, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(temporary, ignored);
    throw WriteError(path.string(), ec.value());
  }
}

}  // namespace renkomi
