// edict2renkomi <edict file> <program folder>
// Generates the game's two dictionaries from the EDRDG dictionary file that
// Debian's edict package installs: the shared dictionary (renkomi.jdc,
// renkomi.ydc) from the common words, and the large dictionary ("大きな辞書" and
// its size) from every word. Each is written only when the folder does not hold it
// yet: a dictionary the player already has is never written over.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "dictionary_generator.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: %s <edict file> <program folder>\n", argc > 0 ? argv[0] : "edict2renkomi");
    return 2;
  }
  const std::filesystem::path source = argv[1];
  const std::filesystem::path folder = argv[2];
  const auto start = std::chrono::steady_clock::now();
  try {
    const renkomi::Generation done = renkomi::GenerateMissingDictionaries(source, folder);
    if (!done.sharedLeft.empty()) std::printf("%s\n", done.sharedLeft.c_str());
    if (!done.largeLeft.empty()) std::printf("%s\n", done.largeLeft.c_str());
    if (done.undecodable > 0) {
      std::fprintf(stderr, "%s: skipped %zu lines that are not EUC-JP text\n", source.c_str(), done.undecodable);
    }
    if (done.sharedLeft.empty()) {
      std::printf("%zu word pairs from %zu lines written to %s and %s in %.2f s\n", done.sharedPairs, done.lines,
                  (folder / renkomi::kSharedJukugoFile).c_str(), (folder / renkomi::kSharedYomiFile).c_str(),
                  SecondsSince(start));
    }
    if (done.largeLeft.empty()) {
      std::printf("%zu word pairs written to the large dictionary %s (%s.jdc, %s.ydc) in %.2f s\n",
                  done.largePairs, done.largeName.c_str(), (folder / done.largeName).c_str(),
                  done.largeName.c_str(), SecondsSince(start));
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "edict2renkomi: %s\n", e.what());
    return 1;
  }
}
