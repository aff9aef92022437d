// The game's generated dictionaries, made from Debian's word sources in the
// player's program folder: the shared dictionary, the large dictionary and the
// school dictionary, each only when the folder does not hold it yet, and the
// ones an earlier version made corrected once. Used by the generator program
// that run.sh calls and by the installed game at its start. Failures throw Error.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>

#include "dictionary_folder.h"
#include "edict_source.h"
#include "school_kanji.h"
#include "source_files.h"
#include "word_costs.h"

namespace renkomi {

// Where the words come from. Only edict is needed: without the word costs the
// readings are chosen by edict's marks alone, and without KANJIDIC there is no
// school dictionary.
struct WordSources {
  std::filesystem::path edict{kDebianEdictFile};
  std::filesystem::path costs{kDebianIpadicFolder};
  std::filesystem::path kanjidic{kDebianKanjidicFile};
};

// What one generation did.
struct Generation {
  // Why a dictionary was not written; empty when it was.
  std::string sharedLeft;
  std::string largeLeft;
  std::string schoolLeft;
  std::size_t sharedPairs = 0;
  std::size_t largePairs = 0;
  std::size_t schoolPairs = 0;
  std::string largeName;
  std::string schoolName;
  // Lines corrected or added in the dictionaries an earlier version made.
  std::size_t corrected = 0;
  bool costs = false;           // the readings were chosen with the word costs
  std::size_t lines = 0;        // lines of edict read
  std::size_t undecodable = 0;  // of them, lines that are not EUC-JP text, skipped
};

// Makes whichever generated dictionary `folder` lacks and corrects the ones an
// earlier version made (WordsRecord), reading the sources only when there is
// something to do. The shared dictionary is written last, so that it marks a
// generation that went through. `progress` hears the bytes of the sources read.
// Throws Error when the folder is missing, edict cannot be read or a dictionary
// cannot be written or corrected; the record is then left as it was, so that the
// next start tries again.
Generation GenerateDictionaries(const WordSources& sources, const std::filesystem::path& folder,
                                const ReadProgress& progress = {});

// The installed game's start: edict is there, and `folder` holds no shared
// dictionary (not even a dangling link under its names) or holds dictionaries
// that a source it has not used yet would improve.
bool WantsDictionaryWork(const std::filesystem::path& folder, const WordSources& sources);

}  // namespace renkomi
