#include "dictionary_choice.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "look.h"
#include "message_set_numbers.h"
#include "text.h"

namespace renkomi::ui {

DictionaryChoice::DictionaryChoice(QRadioButton& shared, QRadioButton& own, QComboBox& names,
                                   QPushButton& choose)
    : shared_(shared), own_(own), names_(names), choose_(choose) {
  shared_.setChecked(true);
  choose_.setIcon(CheckMarkIcon());
  choose_.setIconSize(QSize(18, 18));
  choose_.setDefault(true);
  names_.setEditable(true);
  // The name is taken as typed: Enter confirms the choice and adds no entry, and no
  // completion puts a longer name in its place.
  names_.setInsertPolicy(QComboBox::NoInsert);
  names_.setCompleter(nullptr);
  names_.setMaxVisibleItems(10);
  names_.lineEdit()->setAttribute(Qt::WA_InputMethodEnabled, true);
  // An editable combo box gives a screen reader its text as its name: the box the
  // name is typed in says what it is.
  names_.lineEdit()->setAccessibleName(names_.accessibleName());
  names_.hide();
  for (QRadioButton* item : {&shared_, &own_}) {
    QObject::connect(item, &QRadioButton::toggled, item, [this] { KeepOneTabStop(); });
  }
  KeepOneTabStop();
}

void DictionaryChoice::Offer(const std::vector<std::string>& fileNames) {
  for (const std::string& name : fileNames) names_.addItem(FromFileName(name), QByteArray::fromStdString(name));
  names_.setCurrentIndex(-1);
  names_.clearEditText();
}

int DictionaryChoice::Update() {
  if (!Personal()) {
    names_.hide();
    choose_.setEnabled(true);
    return message_set::kSharedDictionary;
  }
  names_.show();
  choose_.setEnabled(!names_.currentText().isEmpty());
  return message_set::kOwnDictionary;
}

void DictionaryChoice::KeepOneTabStop() {
  for (QRadioButton* item : {&shared_, &own_}) item->setFocusPolicy(item->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
}

QRadioButton* DictionaryChoice::ArrowKey(const QObject* item, int key) {
  if (key != Qt::Key_Up && key != Qt::Key_Down && key != Qt::Key_Left && key != Qt::Key_Right) return nullptr;
  // Two items: any arrow selects the other one.
  QRadioButton& other = item == &shared_ ? own_ : shared_;
  other.setChecked(true);
  return &other;
}

bool DictionaryChoice::Personal() const { return own_.isChecked(); }

std::string DictionaryChoice::FileName() const {
  if (!Personal()) return "renkomi";
  const QString name = names_.currentText();
  const int offered = names_.findText(name, Qt::MatchExactly | Qt::MatchCaseSensitive);
  return offered >= 0 ? names_.itemData(offered).toByteArray().toStdString() : QFile::encodeName(name).toStdString();
}

QString DictionaryChoice::Caption() const { return Personal() ? names_.currentText() : QStringLiteral("あなた"); }

}  // namespace renkomi::ui
