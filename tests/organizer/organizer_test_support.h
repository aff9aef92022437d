// Helpers for the organizer's tests: game text from UTF-8, a dictionary in a
// temporary folder.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include <QTemporaryDir>

#include "dictionary_store.h"
#include "recording_sound.h"

namespace renkomi::organizer::testing {

// CP932 bytes of UTF-8 text.
std::string Sjis(const std::string& utf8);

using renkomi::test::RecordingSound;

// (jukugo, reading) in UTF-8.
using Words = std::vector<std::pair<std::string, std::string>>;

// A program folder of its own holding the shared dictionary.
class TempDictionary {
 public:
  TempDictionary();
  std::filesystem::path Folder() const;
  std::filesystem::path JukugoFile() const { return Folder() / "renkomi.jdc"; }
  std::filesystem::path YomiFile() const { return Folder() / "renkomi.ydc"; }
  // Writes both files (CP932, CR LF) and loads them into the store.
  void Load(const Words& words);

 private:
  QTemporaryDir dir_;  // before the store, which is made from its path

 public:
  renkomi::DictionaryStore store;
};

std::string ReadFile(const std::filesystem::path& path);
// The file content a list of UTF-8 entries is saved as.
std::string FileContent(const std::vector<std::string>& utf8Entries);

}  // namespace renkomi::organizer::testing
