// Writing the generated dictionaries into the player's program folder, and
// correcting the ones an earlier version wrote there. A dictionary that is there
// is never written over: a missing one is written whole, and one that is there
// only has the generator's own pairs corrected, through the game's save, so that
// every pair the player taught or edited stays byte for byte.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

#include "vocabularies.h"

namespace renkomi {

// The shared dictionary's two file names.
inline constexpr std::string_view kSharedName = "renkomi";
inline constexpr std::string_view kSharedJukugoFile = "renkomi.jdc";
inline constexpr std::string_view kSharedYomiFile = "renkomi.ydc";

// The other generated dictionaries are personal ones by their files: the game
// offers each by its name, what it holds followed by its size, so the choice
// list tells them apart at a glance ("大きな辞書10万語", "小学生の辞書8663語").
inline constexpr std::string_view kLargeDictionaryPrefix = "大きな辞書";
inline constexpr std::string_view kSchoolDictionaryPrefix = "小学生の辞書";
// The name for `pairs` words: the size in ten thousands (万) from 10,000 words
// on, else the count itself.
std::string SizedDictionaryName(std::string_view prefix, std::size_t pairs);

// Throws Error when the program folder is missing or already holds either file of
// the shared dictionary (even as a dangling link).
void EnsureNoSharedDictionary(const std::filesystem::path& programFolder);
// The files of the dictionary named `prefix` and any size in `programFolder`.
std::vector<std::filesystem::path> ExistingSizedDictionary(const std::filesystem::path& programFolder,
                                                           std::string_view prefix);

// Write the pairs as a new dictionary. Throw Error, writing nothing, when the
// dictionary is there already (of any size, for a sized one), when the folder is
// missing, or when there is no pair to write.
void WriteSharedDictionary(const std::filesystem::path& programFolder, const Pairs& pairs);
// Returns the name it was written under.
std::string WriteSizedDictionary(const std::filesystem::path& programFolder, std::string_view prefix,
                                 const Pairs& pairs);

// What correcting one dictionary changes.
struct Correction {
  // By jukugo: the reading the earlier generator wrote, and the one it gets now.
  std::unordered_map<std::string, std::pair<std::string, std::string>> readings;
  // Words this generator adds, which the earlier one never wrote, so that none
  // of them can be one the player deleted. Appended only to a dictionary whose
  // lines are mostly the generator's own: a player's own dictionary under the
  // shared name gains nothing.
  Pairs additions;
};

// Corrects the dictionary `name` of `programFolder` through the game's save, once
// and only when something changes: a line whose pair is exactly the earlier
// generator's gets its new reading (unless its jukugo has several lines), and the
// additions that are not there are appended. Returns the lines changed and
// added; 0 when either file of the dictionary is not there. Throws Error as a
// load or a save of the game does (files held by another program, uneven files,
// a full disk).
std::size_t CorrectDictionary(const std::filesystem::path& programFolder, const std::string& name,
                              const Correction& correction);

// Which words the generated dictionaries of a folder hold, kept in a small file
// of the folder ("renkomi.gen") so that the words are corrected once, and again
// only when a source that improves them appears.
struct WordsRecord {
  int version = 0;      // 0: none, made by a version that chose no reading
  bool costs = false;   // readings chosen with mecab-ipadic's word costs
  bool school = false;  // the school dictionary was made
};
inline constexpr std::string_view kWordsRecordFile = "renkomi.gen";
inline constexpr int kWordsVersion = 2;
WordsRecord ReadWordsRecord(const std::filesystem::path& programFolder);
// Throws Error when the file cannot be written.
void WriteWordsRecord(const std::filesystem::path& programFolder, const WordsRecord& record);

}  // namespace renkomi
