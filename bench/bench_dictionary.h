// Which dictionary the benchmarks run on: the real one named by
// RENKOMI_BENCH_DICTIONARY (a path without ".jdc", as bench.sh sets it to the
// large dictionary generated from edict), else none and each benchmark makes its
// own synthetic words.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dictionary_files.h"
#include "file_io.h"
#include "word_list.h"

namespace renkomi::bench {

inline std::filesystem::path RealDictionary() {
  const char* path = std::getenv("RENKOMI_BENCH_DICTIONARY");
  return path != nullptr ? std::filesystem::path(path) : std::filesystem::path();
}

// The real dictionary's words; empty when none is named.
inline WordListPair RealWords() {
  WordListPair words;
  const std::filesystem::path stem = RealDictionary();
  if (stem.empty()) return words;
  // A folder that is not there holds no dictionary, as a missing file does.
  Folder folder(stem.parent_path());
  if (!folder.Open()) return words;
  const std::string name = stem.filename().string();
  PairLines lines;
  ReadEntries(folder, name + ".jdc", lines.jukugo);
  ReadEntries(folder, name + ".ydc", lines.yomi);
  words.Assign(std::move(lines));
  return words;
}

}  // namespace renkomi::bench
