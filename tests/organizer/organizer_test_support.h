// Helpers for the organizer's tests: a dictionary in a temporary folder, and the
// bytes its files are saved as.
#pragma once

#include <QTemporaryDir>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "dictionary_store.h"
#include "widget_test_support.h"

namespace renkomi::organizer::testing {

using renkomi::test::PrintTo;
using renkomi::test::ReadBytes;
using renkomi::test::RecordingSound;
using renkomi::test::RowName;
using renkomi::test::Sj;

// (jukugo, reading) in UTF-8.
using Words = std::vector<std::pair<std::string, std::string>>;

// The file content a list of UTF-8 entries is saved as.
inline std::string FileContent(const std::vector<std::string>& utf8Entries) {
  std::string content;
  for (const std::string& entry : utf8Entries) content += Sj(entry) + "\r\n";
  return content;
}

// A program folder of its own holding the shared dictionary.
class TempDictionary {
 public:
  TempDictionary() : store(dir_.path().toStdString()) { store.ChooseDictionary("renkomi"); }
  std::filesystem::path Folder() const { return dir_.path().toStdString(); }
  std::filesystem::path JukugoFile() const { return Folder() / "renkomi.jdc"; }
  std::filesystem::path YomiFile() const { return Folder() / "renkomi.ydc"; }
  // Writes both files (CP932, CR LF) and loads them into the store.
  void Load(const Words& words) {
    std::vector<std::string> jukugo, yomi;
    for (const auto& [j, y] : words) {
      jukugo.push_back(j);
      yomi.push_back(y);
    }
    test::WriteBytes(JukugoFile(), FileContent(jukugo));
    test::WriteBytes(YomiFile(), FileContent(yomi));
    store.LoadDictionary();
  }

 private:
  QTemporaryDir dir_;  // before the store, which is made from its path

 public:
  renkomi::DictionaryStore store;
};

}  // namespace renkomi::organizer::testing
