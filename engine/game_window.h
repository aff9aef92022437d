// What the game logic may do to its window. The main window implements it; tests
// implement it with a recorder. All texts are CP932 bytes. The player's texts are
// never read back from here: the window hands them to the match with each Enter.
#pragma once

#include <cstdint>
#include <string>

#include "word_list.h"

namespace renkomi {

enum class Control {
  UserJukugo,  // edtUSER_JUKU
  UserYomi,    // edtUSER_YOMI
  CompJukugo,  // edtCOMP_JUKU
  CompYomi,    // edtCOMP_YOMI
  Start,       // btnSTART
  Finish,      // btnFINISH
  Teach,       // btnTEACH
};

// Bubble text colours, 24-bit blue-green-red as the game stores them.
enum class BubbleColour : std::uint32_t {
  Blue = 0xFF0000,
  Red = 0x0000FF,
  Purple = 0x800080,
};

class GameWindow {
 public:
  virtual ~GameWindow() = default;

  virtual void SetText(Control control, const std::string& text) = 0;
  virtual void Clear(Control control) = 0;
  virtual void SetEnabled(Control control, bool enabled) = 0;
  virtual void Focus(Control control) = 0;
  virtual void SetGauge(int percent) = 0;
  virtual void SetBubbleColour(BubbleColour colour) = 0;
  virtual void ShowMessageSet(int set) = 0;
  // Plays a wave file of the media folder without waiting; never fails.
  virtual void PlaySoundFile(const std::string& fileName) = 0;
  // Modal "情報" dialog with one "はい(&Y)" button.
  virtual void ShowInformation(const std::string& text) = 0;
  // Modal "確認" dialog; true only when "はい(&Y)" is pressed.
  virtual bool AskYesNo(const std::string& text) = 0;
  // The word entry dialog: the pair confirmed, or an empty pair when given up.
  virtual WordPair InputWordPair(const std::string& caption, const std::string& prompt) = 0;
  // The desktop's exclamation sound.
  virtual void Beep() = 0;
};

}  // namespace renkomi
