// What the window tests share: a sound that only records, a program folder in a
// temporary directory, typing as an input method types, and a hand that answers
// the game's modal dialogs as they open.
#pragma once

#include <gtest/gtest.h>

#include <QDir>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "recording_sound.h"
#include "test_support.h"

// Readable test output for Qt's strings.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& list, std::ostream* out) {
  *out << '{' << list.join(QStringLiteral("|")).toStdString() << '}';
}

namespace renkomi::test {

// Names each row of a data-driven test after its `name`.
inline constexpr auto RowName = [](const auto& info) { return std::string(info.param.name); };

// An element of a window by its name; a missing one fails the test.
template <typename T = QWidget>
T* FindElement(const QWidget& window, const char* name) {
  T* element = window.findChild<T*>(QString::fromLatin1(name));
  if (element == nullptr) ADD_FAILURE() << "no element " << name;
  return element;
}
// The element Tab moves to from `element`.
inline QWidget* NextTabStop(QWidget* element) {
  for (QWidget* next = element->nextInFocusChain(); next != element; next = next->nextInFocusChain()) {
    if ((next->focusPolicy() & Qt::TabFocus) != 0) return next;
  }
  return element;
}

// A program folder of its own for each test, removed afterwards.
class ProgramFolder {
 public:
  ProgramFolder();
  ~ProgramFolder();
  ProgramFolder(const ProgramFolder&) = delete;
  ProgramFolder& operator=(const ProgramFolder&) = delete;

  std::filesystem::path Path() const;
  QString File(const QString& name) const { return QDir(dir_.path()).filePath(name); }
  // The help file and the media folder, as the installation puts them beside the program.
  void CopyInstalledFiles() const;
  // Writes a dictionary's two files (CP932, CR LF), pairs of jukugo and reading.
  void WriteDictionary(const QString& name, const std::vector<std::pair<QString, QString>>& words) const;
  // The dictionary's files read back line by line; empty when a file is missing.
  std::vector<std::pair<QString, QString>> ReadDictionary(const QString& name) const;
  bool HasDictionary(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

// Sends `text` to `box` as a committed input-method string, the way Japanese text
// arrives from an input method.
void TypeText(QWidget* box, const QString& text);

// Waits for `condition`, at most `timeoutMs` milliseconds, running the event loop.
bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 3000);

// Answers modal dialogs in the order they open. Every dialog is recorded; one that
// opens with no answer waiting is closed and counted as unexpected.
class DialogAnswerer {
 public:
  using Action = std::function<void(QWidget& dialog)>;

  DialogAnswerer();
  ~DialogAnswerer();

  // Clicks the button with this object name ("yesButton", "noButton").
  void Click(const QString& buttonName, Action beforeClicking = {});
  // Does whatever `action` says with the dialog; it must close it, or the test fails.
  void Handle(Action action);

  // Every dialog's caption, and its text (empty but for a message box), in order.
  const QStringList& Captions() const { return captions_; }
  const QStringList& Texts() const { return texts_; }
  int Waiting() const { return static_cast<int>(answers_.size()); }
  int Unexpected() const { return unexpected_; }
  // Runs the event loop until every queued answer has been given.
  bool WaitUntilAnswered(int timeoutMs = 5000) const;

 private:
  void Poll();

  QTimer timer_;
  QObject watches_;  // owns the watches on the dialogs answered
  std::deque<Action> answers_;
  QStringList captions_;
  QStringList texts_;
  QPointer<QWidget> current_;
  int unexpected_ = 0;
};

}  // namespace renkomi::test
