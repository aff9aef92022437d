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

#include "edict_import.h"

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
    // Checked before the file is read, so that nothing to do costs nothing.
    bool wantShared = true;
    try {
      renkomi::EnsureNoSharedDictionary(folder);
    } catch (const std::exception& e) {
      if (!std::filesystem::is_directory(folder)) throw;
      std::printf("%s\n", e.what());
      wantShared = false;
    }
    const auto existingLarge = renkomi::ExistingLargeDictionary(folder);
    const bool wantLarge = existingLarge.empty();
    if (!wantLarge) {
      std::printf("%s already exists; the large dictionary is left as it is\n", existingLarge.front().c_str());
    }
    if (!wantShared && !wantLarge) return 0;

    renkomi::EdictImport common(renkomi::Vocabulary::kCommon);
    renkomi::EdictImport all(renkomi::Vocabulary::kAll);
    if (wantShared && wantLarge) {
      renkomi::EdictImport::AddFile(source, {&common, &all});
    } else {
      (wantShared ? common : all).AddFile(source);
    }
    const renkomi::EdictImport& read = wantShared ? common : all;
    if (read.UndecodableLineCount() > 0) {
      std::fprintf(stderr, "%s: skipped %zu lines that are not EUC-JP text\n", source.c_str(),
                   read.UndecodableLineCount());
    }
    if (wantShared) {
      renkomi::WriteSharedDictionary(folder, common);
      std::printf("%zu word pairs from %zu lines written to %s and %s in %.2f s\n", common.Jukugo().size(),
                  common.LineCount(), (folder / renkomi::kSharedJukugoFile).c_str(),
                  (folder / renkomi::kSharedYomiFile).c_str(), SecondsSince(start));
    }
    if (wantLarge) {
      const std::string name = renkomi::WriteLargeDictionary(folder, all);
      std::printf("%zu word pairs written to the large dictionary %s (%s.jdc, %s.ydc) in %.2f s\n",
                  all.Jukugo().size(), name.c_str(), (folder / name).c_str(), name.c_str(), SecondsSince(start));
    }
    return 0;
  } catch (const std::exception& e) {
    std::fprintf(stderr, "edict2renkomi: %s\n", e.what());
    return 1;
  }
}
