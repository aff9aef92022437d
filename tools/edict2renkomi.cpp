// edict2renkomi <edict file> <program folder>
// Generates the shared dictionary (renkomi.jdc, renkomi.ydc) from the EDRDG
// dictionary file that Debian's edict package installs. It never writes over a
// dictionary the player already has.
#include <chrono>
#include <cstdio>
#include <exception>
#include <filesystem>

#include "edict_import.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "Usage: %s <edict file> <program folder>\n", argc > 0 ? argv[0] : "edict2renkomi");
    return 2;
  }
  const std::filesystem::path source = argv[1];
  const std::filesystem::path folder = argv[2];
  const auto start = std::chrono::steady_clock::now();
  try {
    // Checked first so that a refusal does not wait for the whole file to be read;
    // the writer checks again.
    renkomi::EnsureNoSharedDictionary(folder);
    renkomi::EdictImport words;
    words.AddFile(source);
    if (words.UndecodableLineCount() > 0) {
      std::fprintf(stderr, "%s: skipped %zu lines that are not EUC-JP text\n", source.c_str(),
                   words.UndecodableLineCount());
    }
    renkomi::WriteSharedDictionary(folder, words);
    const std::chrono::duration<double> elapsed = std::chrono::steady_clock::now() - start;
    const std::filesystem::path jukugoPath = folder / renkomi::kSharedJukugoFile;
    const std::filesystem::path yomiPath = folder / renkomi::kSharedYomiFile;
    std::printf("%zu word pairs from %zu lines written to %s and %s in %.2f s\n", words.Jukugo().size(),
                words.LineCount(), jukugoPath.c_str(), yomiPath.c_str(), elapsed.count());
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "edict2renkomi: %s\n", e.what());
    return 1;
  }
}
