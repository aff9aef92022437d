#include "widget_test_support.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QFile>
#include <QInputMethodEvent>
#include <QMessageBox>
#include <QTest>
#include <system_error>

#include "text.h"

namespace renkomi::test {

namespace {

void CopyFile(const QString& from, const QString& to) {
  QFile::remove(to);
  if (!QFile::copy(from, to)) qFatal("cannot copy %s", qPrintable(from));
}

QStringList ReadLines(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {};
  const QByteArray data = file.readAll();
  QStringList lines;
  for (const QByteArray& line : data.split('\n')) {
    if (line.isEmpty()) continue;  // after the last CR LF
    QByteArray entry = line;
    if (entry.endsWith('\r')) entry.chop(1);
    lines << ui::FromGame(entry.toStdString());
  }
  return lines;
}

// Tells its answerer the moment a dialog it answered is hidden, so that the same
// dialog shown again right away is answered again, however late the poll comes.
class HideWatch final : public QObject {
 public:
  HideWatch(QObject* owner, std::function<void()> hidden) : QObject(owner), hidden_(std::move(hidden)) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Hide) hidden_();
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> hidden_;
};

}  // namespace

ProgramFolder::ProgramFolder() {
  if (!dir_.isValid()) qFatal("no temporary folder");
}

// Qt's own removal skips names that are not UTF-8 (a dictionary from another
// system, in CP932), and would leave the folder in the shared temporary folder.
ProgramFolder::~ProgramFolder() {
  std::error_code error;
  std::filesystem::remove_all(Path(), error);
}

std::filesystem::path ProgramFolder::Path() const {
  return std::filesystem::path(QFile::encodeName(dir_.path()).toStdString());
}

void ProgramFolder::CopyInstalledFiles() const {
  const QString source = QStringLiteral(RENKOMI_SOURCE_DIR "/resources");
  QDir(dir_.path()).mkpath(QStringLiteral("media"));
  CopyFile(source + QStringLiteral("/help/renkomiwin32.hlp"), File(QStringLiteral("renkomiwin32.hlp")));
  for (const char* sound : {"Tada.wav", "Chimes.wav"}) {
    CopyFile(source + QStringLiteral("/media/") + QLatin1String(sound),
             File(QStringLiteral("media/") + QLatin1String(sound)));
  }
}

void ProgramFolder::WriteDictionary(const QString& name,
                                    const std::vector<std::pair<QString, QString>>& words) const {
  QByteArray jukugo;
  QByteArray yomi;
  for (const auto& [j, y] : words) {
    jukugo += QByteArray::fromStdString(ui::ToGame(j)) + "\r\n";
    yomi += QByteArray::fromStdString(ui::ToGame(y)) + "\r\n";
  }
  for (const auto& [extension, data] : {std::pair{".jdc", jukugo}, std::pair{".ydc", yomi}}) {
    QFile file(File(name + QLatin1String(extension)));
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size()) qFatal("cannot write");
  }
}

std::vector<std::pair<QString, QString>> ProgramFolder::ReadDictionary(const QString& name) const {
  const QStringList jukugo = ReadLines(File(name + QStringLiteral(".jdc")));
  const QStringList yomi = ReadLines(File(name + QStringLiteral(".ydc")));
  std::vector<std::pair<QString, QString>> words;
  for (qsizetype i = 0; i < jukugo.size(); ++i) {
    words.emplace_back(jukugo[i], i < yomi.size() ? yomi[i] : QString());
  }
  return words;
}

bool ProgramFolder::HasDictionary(const QString& name) const {
  return QFile::exists(File(name + QStringLiteral(".jdc"))) &&
         QFile::exists(File(name + QStringLiteral(".ydc")));
}

void TypeText(QWidget* box, const QString& text) {
  QInputMethodEvent event;
  event.setCommitString(text);
  QCoreApplication::sendEvent(box, &event);
}

bool WaitFor(const std::function<bool()>& condition, int timeoutMs) {
  return QTest::qWaitFor(condition, timeoutMs);
}

DialogAnswerer::DialogAnswerer() {
  timer_.setInterval(5);
  QObject::connect(&timer_, &QTimer::timeout, [this] { Poll(); });
  timer_.start();
}

DialogAnswerer::~DialogAnswerer() { timer_.stop(); }

void DialogAnswerer::Click(const QString& buttonName, Action beforeClicking) {
  answers_.push_back([buttonName, beforeClicking](QWidget& dialog) {
    if (beforeClicking) beforeClicking(dialog);
    auto* button = dialog.findChild<QAbstractButton*>(buttonName);
    if (button == nullptr) {
      ADD_FAILURE_AT(__FILE__, __LINE__) << "no button " << buttonName.toStdString();
      if (auto* box = qobject_cast<QDialog*>(&dialog)) box->reject();
      return;
    }
    button->click();
  });
}

void DialogAnswerer::Handle(Action action) { answers_.push_back(std::move(action)); }

bool DialogAnswerer::WaitUntilAnswered(int timeoutMs) const {
  return WaitFor([this] { return answers_.empty() && QApplication::activeModalWidget() == nullptr; },
                 timeoutMs);
}

void DialogAnswerer::Poll() {
  QWidget* modal = QApplication::activeModalWidget();
  // Once it has closed, a dialog shown again is a new one to answer.
  if (modal == nullptr || !modal->isVisible()) current_ = nullptr;
  if (modal == nullptr || !modal->isVisible() || modal == current_) return;
  current_ = modal;
  modal->installEventFilter(new HideWatch(&watches_, [this, modal] {
    if (current_ == modal) current_ = nullptr;
  }));
  captions_ << modal->windowTitle();
  const auto* box = qobject_cast<QMessageBox*>(modal);
  texts_ << (box != nullptr ? box->text() : QString());
  if (answers_.empty()) {
    ++unexpected_;
    // Closed whatever it is: a modal window left open would hold the test forever.
    if (auto* dialog = qobject_cast<QDialog*>(modal)) {
      dialog->reject();
    } else {
      modal->close();
    }
    return;
  }
  const Action action = std::move(answers_.front());
  answers_.pop_front();
  const QPointer<QWidget> answered(modal);
  action(*modal);
  // An answer that leaves its dialog open would hold the test for ever.
  if (!answered.isNull() && answered->isVisible()) {
    ADD_FAILURE() << "an answer left the dialog " << captions_.back().toStdString() << " open";
    if (auto* dialog = qobject_cast<QDialog*>(answered.data())) dialog->reject();
  }
}

}  // namespace renkomi::test
