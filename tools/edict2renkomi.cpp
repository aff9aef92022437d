// edict2renkomi <edict file> <program folder>
// Generates the game's dictionaries from Debian's word sources: the shared
// dictionary (renkomi.jdc, renkomi.ydc) from edict's common words, the large
// dictionary ("大きな辞書" and its size) from every word, and the school dictionary
// ("小学生の辞書" and its size) from the common words of the kanji taught in
// elementary school, with readings chosen by edict's marks and mecab-ipadic's word
// costs. Each is written only when the folder does not hold it yet; the ones an
// earlier version wrote have the generator's own pairs corrected, once.
// RENKOMI_WORD_COSTS and RENKOMI_KANJIDIC name other places for those two sources
// ("" for none).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>

#include "dictionary_generator.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void Override(std::filesystem::path& source, const char* variable) {
  if (const char* value = std::getenv(variable)) source = value;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: %s <edict file> <program folder>\n", argc > 0 ? argv[0] : "edict2renkomi");
    return 2;
  }
  renkomi::WordSources sources;
  sources.edict = argv[1];
  Override(sources.costs, "RENKOMI_WORD_COSTS");
  Override(sources.kanjidic, "RENKOMI_KANJIDIC");
  const std::filesystem::path folder = argv[2];
  const auto start = std::chrono::steady_clock::now();
  try {
    const renkomi::Generation done = renkomi::GenerateDictionaries(sources, folder);
    for (const std::string& left : {done.sharedLeft, done.largeLeft, done.schoolLeft}) {
      if (!left.empty()) std::printf("%s\n", left.c_str());
    }
    if (done.undecodable > 0) {
      std::fprintf(stderr, "%s: skipped %zu lines that are not EUC-JP text\n", sources.edict.c_str(),
                   done.undecodable);
    }
    if (done.lines > 0 && !done.costs) {
      std::printf("mecab-ipadic is not installed: readings chosen by edict's common marks alone\n");
    }
    if (done.sharedLeft.empty()) {
      std::printf("%zu word pairs from %zu lines written to %s and %s\n", done.sharedPairs, done.lines,
                  (folder / renkomi::kSharedJukugoFile).c_str(), (folder / renkomi::kSharedYomiFile).c_str());
    }
    if (!done.largeName.empty()) {
      std::printf("%zu word pairs written to the large dictionary %s\n", done.largePairs, done.largeName.c_str());
    }
    if (!done.schoolName.empty()) {
      std::printf("%zu word pairs written to the school dictionary %s\n", done.schoolPairs, done.schoolName.c_str());
    }
    if (done.corrected > 0) {
      std::printf("%zu lines of the dictionaries already there corrected or added\n", done.corrected);
    }
    if (done.lines > 0) std::printf("Done in %.2f s\n", SecondsSince(start));
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "edict2renkomi: %s\n", e.what());
    return 1;
  }
}
