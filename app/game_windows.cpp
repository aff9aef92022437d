#include "game_windows.h"

#include "secondary_window.h"
#include "title_bar.h"

namespace renkomi::app {

GameWindows::GameWindows(const std::filesystem::path& programFolder, renkomi::Random& random,
                         renkomi::ui::Sound& sound, AppShell& shell, const std::filesystem::path& dataFolder)
    : form1_(std::make_unique<TForm1>(programFolder, dataFolder.empty() ? programFolder : dataFolder, random,
                                      sound)) {
  // Owned by the main window, which deletes it; it must exist before the main form
  // is recorded, since it belongs to the first window only.
  auto* animateForm1 = new TAnimateForm(form1_.get(), sound, shell);
  animateForm1->setObjectName(QStringLiteral("AnimateForm1"));
  form1_->show();
  shell.SetMainForm(*form1_);

  renkomiAboutBox_ = std::make_unique<TRenkomiAboutBox>(form1_.get());
  frmInputBox_ = std::make_unique<TfrmInputBox>(*form1_, *form1_, form1_.get());
  // Not a child of the main window: it disables the main window while it is open,
  // and a child would be disabled with it.
  frmDicOpt_ = std::make_unique<TfrmDicOpt>(form1_->Store(), *form1_, sound);
  frmRenkomiWait_ = std::make_unique<TfrmRenkomiWait>();

  form1_->SetAboutBox(renkomiAboutBox_.get());
  form1_->SetInputBox(frmInputBox_.get());
  form1_->SetOrganizer(frmDicOpt_.get());
  frmDicOpt_->SetWaitDialog(frmRenkomiWait_.get());

  // On the desktop every other window belongs to the main window, which waits,
  // disabled, for the organizer and its progress dialog.
  using renkomi::ui::OwnerWaits;
  renkomi::ui::MakeSecondaryWindow(*renkomiAboutBox_, *form1_);
  renkomi::ui::MakeSecondaryWindow(*frmInputBox_, *form1_);
  renkomi::ui::MakeSecondaryWindow(*frmDicOpt_, *form1_, OwnerWaits::Yes);
  renkomi::ui::MakeSecondaryWindow(*frmRenkomiWait_, *form1_, OwnerWaits::Yes);
  // The main window's title bar has no maximize button, whatever the desktop.
  renkomi::ui::KeepToTitleBarButtons(*form1_);
}

}  // namespace renkomi::app
