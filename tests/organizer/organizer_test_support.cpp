#include "organizer_test_support.h"

#include <fstream>
#include <iterator>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include "cp932.h"

namespace renkomi::organizer::testing {

std::string Sjis(const std::string& utf8) { return renkomi::Utf8ToCp932(utf8); }

TempDictionary::TempDictionary() : store(dir_.path().toStdString()) {
  store.ChooseDictionary("renkomi");
}

std::filesystem::path TempDictionary::Folder() const { return dir_.path().toStdString(); }

void TempDictionary::Load(const Words& words) {
  std::vector<std::string> jukugo, yomi;
  for (const auto& [j, y] : words) {
    jukugo.push_back(j);
    yomi.push_back(y);
  }
  std::ofstream(JukugoFile(), std::ios::binary) << FileContent(jukugo);
  std::ofstream(YomiFile(), std::ios::binary) << FileContent(yomi);
  store.LoadDictionary();
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string FileContent(const std::vector<std::string>& utf8Entries) {
  std::string content;
  for (const std::string& entry : utf8Entries) content += Sjis(entry) + "\r\n";
  return content;
}

}  // namespace renkomi::organizer::testing
