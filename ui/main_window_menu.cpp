// The main window's menu on the character's picture: the organizer, the help and
// the About box. A right-click on the picture opens it, and so do the Menu key and
// Shift+F10 anywhere in the window, for a player without a mouse; F1 is the help.
#include <QAction>
#include <QDialog>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QShortcut>

#include "application.h"
#include "errors.h"
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
  // Mnemonics in parentheses, as Japanese menus write them.
  K2 = Named(PopupMenu1->addAction(QStringLiteral("辞書の整理(&D)")), "K2");
  K3 = Named(PopupMenu1->addAction(QStringLiteral("ヘルプ(&H)")), "K3");
  N1 = Named(PopupMenu1->addSeparator(), "N1");
  K1 = Named(PopupMenu1->addAction(QStringLiteral("バージョン情報(&A)")), "K1");
  // F1 reaches the help with the menu closed too.
  K3->setShortcut(QKeySequence(Qt::Key_F1));
  K3->setShortcutContext(Qt::WindowShortcut);
  addAction(K3);
  connect(K2, &QAction::triggered, this, [this] { Guarded([this] { K2Click(); }); });
  connect(K3, &QAction::triggered, this, [this] { Guarded([this] { K3Click(); }); });
  connect(K1, &QAction::triggered, this, [this] { Guarded([this] { K1Click(); }); });
  Image1->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(Image1, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& at) { PopupMenu1->popup(Image1->mapToGlobal(at)); });
  // From the keyboard the menu opens at the picture, wherever the focus is: the
  // picture itself never takes the focus. A disabled window (the organizer open)
  // takes no shortcut, as it takes no click.
  for (const QKeySequence& keys : {QKeySequence(Qt::Key_Menu), QKeySequence(Qt::SHIFT | Qt::Key_F10)}) {
    connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
      PopupMenu1->popup(Image1->mapToGlobal(Image1->rect().center()));
    });
  }
}

// Serves K1, the picture menu's "バージョン情報".
void TForm1::K1Click() {
  if (aboutBox_ != nullptr) aboutBox_->exec();
}

// Serves K2, the picture menu's "辞書の整理".
void TForm1::K2Click() {
  if (btnSTART->isEnabled()) {
    if (organizer_ != nullptr) organizer_->show();
  } else {
    Beep();
    renkomi::ui::ShowErrorDialog(this, renkomi::OrganizerInMatchError());
  }
}

// Serves K3, the picture menu's "ヘルプ".
void TForm1::K3Click() {
  if (!helpWindow_) helpWindow_ = renkomi::ui::HelpWindow::For(*this);
  if (!helpWindow_->ShowContents(helpFile_)) {
    renkomi::ui::ShowErrorDialog(
        this, renkomi::MissingHelpFileError(QDir::toNativeSeparators(helpFile_).toStdString()));
  }
}
