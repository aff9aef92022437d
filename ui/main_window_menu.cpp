// The main window's menu on the character's picture: the organizer, the help and
// the About box.
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "application.h"
#include "help_window.h"
#include "main_window.h"
#include "message_dialogs.h"

using renkomi::ui::Guarded;

namespace {

template <typename T>
T* Named(T* element, const char* name) {
  element->setObjectName(QString::fromLatin1(name));
  return element;
}

}  // namespace

void TForm1::CreateMenu() {
  PopupMenu1 = Named(new QMenu(this), "PopupMenu1");
  K2 = Named(PopupMenu1->addAction(QStringLiteral("辞書の整理")), "K2");
  K3 = Named(PopupMenu1->addAction(QStringLiteral("ヘルプ")), "K3");
  N1 = Named(PopupMenu1->addSeparator(), "N1");
  K1 = Named(PopupMenu1->addAction(QStringLiteral("バージョン情報")), "K1");
  connect(K2, &QAction::triggered, this, [this] { Guarded([this] { K2Click(); }); });
  connect(K3, &QAction::triggered, this, [this] { Guarded([this] { K3Click(); }); });
  connect(K1, &QAction::triggered, this, [this] { Guarded([this] { K1Click(); }); });
  connect(Image1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(Image1->mapToGlobal(at)); });
}

void TForm1::K1Click() {
  if (aboutBox_ != nullptr) aboutBox_->exec();
}

void TForm1::K2Click() {
  if (OrganizerPanelWidth == 0 && organizerPanelWidth_) OrganizerPanelWidth = organizerPanelWidth_();
  if (btnSTART->isEnabled()) {
    if (organizer_ != nullptr) organizer_->show();
  } else {
    Beep();
    renkomi::ui::ShowErrorDialog(this, QStringLiteral("対戦中は辞書の整理ができません。"));
  }
}

void TForm1::K3Click() {
  if (!helpWindow_) helpWindow_ = renkomi::ui::HelpWindow::For(*this);
  if (!helpWindow_->ShowContents(helpFile_)) {
    renkomi::ui::ShowErrorDialog(
        this, QStringLiteral("ヘルプファイル %1 が見つかりません。").arg(QDir::toNativeSeparators(helpFile_)));
  }
}
