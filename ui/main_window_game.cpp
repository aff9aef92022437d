// The main window as the match engine sees it: the operations of GameWindow,
// each a direct change of a named element. Texts cross the window boundary here.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include "gauge.h"
#include "input_box.h"
#include "look.h"
#include "main_window.h"
#include "message_dialogs.h"
#include "message_sets.h"
#include "sound.h"
#include "speech_bubble.h"
#include "text.h"

using renkomi::BubbleColour;
using renkomi::Control;
using renkomi::ui::FromGame;

QWidget* TForm1::ControlOf(Control control) const {
  switch (control) {
    case Control::UserJukugo: return edtUSER_JUKU;
    case Control::UserYomi: return edtUSER_YOMI;
    case Control::CompJukugo: return edtCOMP_JUKU;
    case Control::CompYomi: return edtCOMP_YOMI;
    case Control::Start: return btnSTART;
    case Control::Finish: return btnFINISH;
    case Control::Teach: return btnTEACH;
  }
  return nullptr;
}

QLineEdit* TForm1::EditOf(Control control) const {
  return qobject_cast<QLineEdit*>(ControlOf(control));
}

void TForm1::SetText(Control control, const std::string& text) {
  if (QLineEdit* box = EditOf(control)) {
    box->setText(FromGame(text));
  } else if (auto* button = qobject_cast<QPushButton*>(ControlOf(control))) {
    button->setText(FromGame(text));
  }
}

void TForm1::Clear(Control control) {
  if (QLineEdit* box = EditOf(control)) box->clear();
}

void TForm1::SetEnabled(Control control, bool enabled) {
  if (QWidget* widget = ControlOf(control)) widget->setEnabled(enabled);
}

void TForm1::Focus(Control control) {
  if (QWidget* widget = ControlOf(control)) FocusControl(widget);
}

void TForm1::SetGauge(int percent) { gagHitPoint->SetProgress(percent); }

void TForm1::SetBubbleColour(BubbleColour colour) {
  renkomi::ui::SetBubbleTextColour(*memFUKIDASI, renkomi::ui::FromBgr(static_cast<std::uint32_t>(colour)));
}

void TForm1::ShowMessageSet(int set) { renkomi::ui::ShowInBubble(*memFUKIDASI, renkomi::ui::GetMessageSet(set)); }

void TForm1::PlaySoundFile(const std::string& fileName) {
  // The game's own sounds lie in the media folder of its data folder.
  const QString path = renkomi::ui::FromFileSystem(dataFolder_ / "media") + QLatin1Char('/') +
                       FromGame(fileName);
  sound_.PlayFile(path);
}

void TForm1::ShowInformation(const std::string& text) {
  renkomi::ui::ShowInformationDialog(this, FromGame(text));
}

bool TForm1::AskYesNo(const std::string& text) {
  return renkomi::ui::AskYesNoDialog(this, FromGame(text));
}

renkomi::WordPair TForm1::InputWordPair(const std::string& caption, const std::string& prompt) {
  if (inputBox_ == nullptr) return renkomi::WordPair{};
  return inputBox_->InputWordPair(FromGame(caption), FromGame(prompt));
}

void TForm1::Beep() { sound_.PlayThemeSound(renkomi::ui::kExclamationSound); }
