// The installed game's start: the generated dictionaries made in the player's
// program folder from Debian's word sources on the first start, and the ones an
// earlier version made corrected once, before the choice panel shows, with a
// progress bar when the work takes a while.
#pragma once

#include <filesystem>

#include "dictionary_generator.h"

namespace renkomi::app {

// Does nothing when edict is not there, or when `programFolder` has a shared
// dictionary and nothing to correct: the game then starts as ever, with the five
// built-in words for a missing shared dictionary. A dictionary that is there is
// never written over. A failure is shown in the error dialog, and the game goes
// on without the dictionaries it could not make or correct.
void MakeFirstDictionaries(const std::filesystem::path& programFolder, const renkomi::WordSources& sources);

}  // namespace renkomi::app
