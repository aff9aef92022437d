// A Sound that plays nothing and remembers what it was asked to play.
#pragma once

#include <string>
#include <vector>

#include "sound.h"

namespace renkomi::app::testing {

class RecordingSound final : public renkomi::ui::Sound {
 public:
  void PlayFile(const QString& path) override { played.push_back(path.toStdString()); }
  void PlayThemeSound(const std::string& name) override { played.push_back(name); }
  std::vector<std::string> played;
};

}  // namespace renkomi::app::testing
