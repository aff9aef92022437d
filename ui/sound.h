// Sound for the game: wave files played without waiting, and named sounds of the
// desktop's sound theme. A missing file, a theme without the sound or no sound
// device all mean silence, never an error or a delay.
#pragma once

#include <memory>
#include <string>

#include <QString>

namespace renkomi::ui {

class Sound {
 public:
  virtual ~Sound() = default;
  // A wave file by full path.
  virtual void PlayFile(const QString& path) = 0;
  // An XDG sound-theme name ("dialog-warning", "window-minimized", ...); nothing
  // is heard when the theme assigns no sound to it.
  virtual void PlayThemeSound(const std::string& name) = 0;
};

// The desktop's exclamation sound.
inline constexpr const char* kExclamationSound = "dialog-warning";

// Plays through libcanberra, the desktop's event-sound library.
class CanberraSound final : public Sound {
 public:
  CanberraSound();
  ~CanberraSound() override;
  CanberraSound(const CanberraSound&) = delete;
  CanberraSound& operator=(const CanberraSound&) = delete;

  void PlayFile(const QString& path) override;
  void PlayThemeSound(const std::string& name) override;

 private:
  struct Context;
  std::unique_ptr<Context> context_;
};

}  // namespace renkomi::ui
