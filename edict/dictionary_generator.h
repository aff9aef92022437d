// The game's two dictionaries made from the EDRDG dictionary file that Debian's
// edict package installs: the shared dictionary from the common words and the
// large dictionary from every word, each only when the program folder does not
// hold it yet, so that a dictionary the player already has is never written over.
// Used by the generator program that run.sh calls and by the installed game on
// its first start. Failures throw Error.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "edict_import.h"

namespace renkomi {

// Where Debian's edict package puts the dictionary file.
inline constexpr std::string_view kDebianEdictFile = "/usr/share/edict/edict";

// What one generation did.
struct Generation {
  // Why a dictionary was left as it is; empty when it was written.
  std::string sharedLeft;
  std::string largeLeft;
  std::size_t sharedPairs = 0;
  std::size_t largePairs = 0;
  std::string largeName;
  std::size_t lines = 0;        // lines of the source read
  std::size_t undecodable = 0;  // of them, lines that are not EUC-JP text, skipped
};

// Makes whichever of the two dictionaries `folder` lacks from `source`; reads
// nothing when it lacks neither. The large dictionary is written first, so that
// the shared one, written last, marks a generation that went through. Throws
// Error when the folder is missing, the source cannot be read or a file cannot be
// written.
Generation GenerateMissingDictionaries(const std::filesystem::path& source, const std::filesystem::path& folder,
                                       const ReadProgress& progress = {});

// The installed game's first start: `folder` holds neither file of the shared
// dictionary (not even a dangling link under its names) and `source` is there to
// make both dictionaries from.
bool WantsFirstDictionaries(const std::filesystem::path& folder, const std::filesystem::path& source);

}  // namespace renkomi
