#include "game_windows.h"

#include "secondary_window.h"

namespace renkomi::app {

GameWindows::GameWindows(const std::filesystem::path& programFolder, renkomi::Random& random,
                         renkomi::ui::Sound& sound, AppShell& shell)
    : form1_(std::make_unique<TForm1>(programFolder, random, sound)) {
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
  frmDicOpt_ = std::make_unique<TfrmDicOpt>(form1_->Store(), *form1_, form1_->OrganizerPanelWidth,
                                            sound);
  frmRenkomiWait_ = std::make_unique<TfrmRenkomiWait>();

  form1_->SetAboutBox(renkomiAboutBox_.get());
  form1_->SetInputBox(frmInputBox_.get());
  form1_->SetOrganizer(frmDicOpt_.get(), [organizer = frmDicOpt_.get()] { return organizer->PanelWidth(); });
  frmDicOpt_->SetWaitDialog(frmRenkomiWait_.get());

  // On the desktop every other window belongs to the main window.
  for (QWidget* window : {static_cast<QWidget*>(renkomiAboutBox_.get()),
                          static_cast<QWidget*>(frmInputBox_.get()),
                          static_cast<QWidget*>(frmDicOpt_.get()),
                          static_cast<QWidget*>(frmRenkomiWait_.get())}) {
    renkomi::ui::MakeSecondaryWindow(*window, *form1_);
  }
}

}  // namespace renkomi::app
