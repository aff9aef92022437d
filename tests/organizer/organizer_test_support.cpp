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

ModalAnswerer::ModalAnswerer() {
  timer_.setInterval(10);
  connect(&timer_, &QTimer::timeout, this, [this] { Poll(); });
  timer_.start();
}

void ModalAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  if (modal == nullptr) return;
  captions << modal->windowTitle();
  if (auto* box = qobject_cast<QMessageBox*>(modal)) texts << box->text();
  if (auto* yes = modal->findChild<QPushButton*>(QStringLiteral("yesButton"))) {
    yes->click();
  } else {
    modal->close();  // not one of the game's dialogs: never leave the test hanging
  }
}

}  // namespace renkomi::organizer::testing
