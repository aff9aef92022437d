// The sound doubles of the window tests, the fault player and the benchmarks: one
// plays nothing and remembers what it was asked to play, files and theme sounds
// apart and everything in order; the other plays nothing and remembers nothing.
#pragma once

#include <string>
#include <vector>

#include <QString>

#include "sound.h"

namespace renkomi::test {

class RecordingSound final : public renkomi::ui::Sound {
 public:
  void PlayFile(const QString& path) override {
    files.push_back(path);
    played.push_back(path.toStdString());
  }
  void PlayThemeSound(const std::string& name) override {
    themeSounds.push_back(name);
    played.push_back(name);
  }

  std::vector<QString> files;
  std::vector<std::string> themeSounds;
  std::vector<std::string> played;  // file paths and theme names, in order
};

class SilentSound final : public renkomi::ui::Sound {
 public:
  void PlayFile(const QString&) override {}
  void PlayThemeSound(const std::string&) override {}
};

}  // namespace renkomi::test
