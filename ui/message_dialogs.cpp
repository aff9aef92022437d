#include "message_dialogs.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>

#include "errors.h"
#include "look.h"

#include "secondary_window.h"

namespace renkomi::ui {

namespace {

// Centred on the screen rather than on the parent; moving before exec() keeps Qt
// from placing it again.
void CentreOnScreen(QMessageBox& box) {
  box.adjustSize();
  renkomi::ui::CentreOnScreen(box);
}

int Run(QWidget* parent, QMessageBox::Icon icon, const QString& caption, const QString& text,
        bool withNo) {
  QMessageBox box(icon, caption, text, QMessageBox::NoButton, parent);
  if (parent != nullptr) MakeSecondaryWindow(box, *parent->window());
  box.setTextFormat(Qt::PlainText);
  QPushButton* yes = box.addButton(QString::fromUtf16(kYesButton), QMessageBox::YesRole);
  yes->setObjectName(QStringLiteral("yesButton"));
  box.setDefaultButton(yes);
  if (withNo) {
    QPushButton* no = box.addButton(QString::fromUtf16(kNoButton), QMessageBox::NoRole);
    no->setObjectName(QStringLiteral("noButton"));
    box.setEscapeButton(no);
  } else {
    box.setEscapeButton(yes);
  }
  CentreOnScreen(box);
  box.exec();
  return box.clickedButton() == yes ? 1 : 0;
}

}  // namespace

void ShowErrorDialog(QWidget* parent, const QString& text) {
  Run(parent, QMessageBox::Critical, QStringLiteral("エラー"), text, false);
}

QString ErrorText(const std::exception& failure) {
  if (dynamic_cast<const renkomi::Error*>(&failure) != nullptr) return QString::fromUtf8(failure.what());
  return QStringLiteral("予期しないエラーが発生しました。");
}

void ShowErrorDialog(QWidget* parent, const std::exception& failure) {
  ShowErrorDialog(parent, ErrorText(failure));
}

void ShowInformationDialog(QWidget* parent, const QString& text) {
  Run(parent, QMessageBox::Information, QStringLiteral("情報"), text, false);
}

bool AskYesNoDialog(QWidget* parent, const QString& text) {
  return Run(parent, QMessageBox::Question, QStringLiteral("確認"), text, true) == 1;
}

}  // namespace renkomi::ui
