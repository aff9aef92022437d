// Every window of the game, created once at start-up in the game's fixed order and
// wired to each other, living together until the program ends. The program and
// the fault tests build the game through this one place.
#pragma once

#include <filesystem>
#include <memory>

#include "about_box.h"
#include "animate_form.h"
#include "app_shell.h"
#include "dic_opt.h"
#include "input_box.h"
#include "main_window.h"
#include "random.h"
#include "renkomi_wait.h"
#include "sound.h"

namespace renkomi::app {

class GameWindows {
 public:
  // Creates the main window (with its minimize companion), shows it and records it
  // as the main form, then the About box, the word entry dialog, the organizer and
  // its progress dialog, each before the next exists.
  // `dataFolder` holds the help file and the sounds; empty: the program folder.
  GameWindows(const std::filesystem::path& programFolder, renkomi::Random& random,
              renkomi::ui::Sound& sound, AppShell& shell, const std::filesystem::path& dataFolder = {});
  GameWindows(const GameWindows&) = delete;
  GameWindows& operator=(const GameWindows&) = delete;

  TForm1& Form1() { return *form1_; }
  TRenkomiAboutBox& RenkomiAboutBox() { return *renkomiAboutBox_; }
  TfrmInputBox& FrmInputBox() { return *frmInputBox_; }
  TfrmDicOpt& FrmDicOpt() { return *frmDicOpt_; }
  TfrmRenkomiWait& FrmRenkomiWait() { return *frmRenkomiWait_; }

 private:
  // Destroyed in the reverse order of creation.
  std::unique_ptr<TForm1> form1_;
  std::unique_ptr<TRenkomiAboutBox> renkomiAboutBox_;
  std::unique_ptr<TfrmInputBox> frmInputBox_;
  std::unique_ptr<TfrmDicOpt> frmDicOpt_;
  std::unique_ptr<TfrmRenkomiWait> frmRenkomiWait_;
};

}  // namespace renkomi::app
