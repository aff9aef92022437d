// The game as a player runs it, with a robot at the keyboard: the windows are made
// as the game makes them, and a script plays them from inside the event loop with
// mouse clicks, Enter keys and input-method text, answering every dialog as it
// opens. What the robot sees goes to standard output, one line per event, for the
// fault tests that start it and then kill it, starve it of disk or break its files.
//
//   fault_player <script> <program folder> [argument]
//
// Scripts:
//   loop          choose the shared dictionary, then surrender match after match
//                 until killed
//   full-disk N   a file-size limit of N bytes at the save that ends a match, and
//                 at closing; the limit is lifted at last so that the game can end
//   blocked-choice below-file|no-room [name]
//                 the dictionary choice while the program folder cannot take the
//                 files, then again once it can
//   refused-choice
//                 the shared dictionary chosen from files the game must refuse,
//                 then the window closed
//   teach-start   a word taught with "おしえる", then "はじめる"; waits to be killed
//   failed-teach lock|limit
//                 鬱金 taught while another process holds the jukugo file's lock
//                 (past the game's wait) or under a file-size limit the save
//                 outgrows; then the lock ends or the limit goes, "はじめる", one
//                 match lost, and closing
//   paste-teach jukugo|yomi HEX
//                 the UTF-8 text HEX pasted into a box of the word entry dialog and "はい"
//                 pressed; then "やめる" and closing
//   loss          one match, lost, then closing
//   swap-folder OTHER
//                 the shared dictionary chosen, then the program folder renamed to
//                 "moved" beside it and a link to OTHER put in its place; then
//                 one match, lost, and closing
//   outside-edit teach|loss|organizer EDIT [REPAIR]
//                 the shell command EDIT changes the files, as another program,
//                 while the game holds the dictionary: before "おしえる" teaches
//                 日記, during a match then lost, or while the organizer is open
//                 (its first row deleted); REPAIR, when given, then runs, followed
//                 by "はじめる" after a match (then lost again) or closing
//   readonly-close unchanged|changed
//                 the program folder made read-only, then the window closed: at
//                 once, or during a match (the first close answered "いいえ")
//
// Output lines, fields separated by tabs:
//   dialog <caption> <text>       a message dialog opened (answered at once); the
//                                 game's error dialog has the caption "エラー"
//   state <label> key=value...    the window as the player sees it (set= the
//                                 message set in the bubble, 0 for none)
//   files <label> name=hex...     every file of the program folder and its bytes
//   exit <code>                   the event loop has ended
//   fail <reason>                 the robot could not go on (exit status 2)
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QPlainTextEdit>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTableView>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "app_shell.h"
#include "game_windows.h"
#include "application.h"
#include "dic_opt.h"
#include "input_box.h"
#include "main_window.h"
#include "message_sets.h"
#include "panel.h"
#include "random.h"
#include "sound.h"
#include "recording_sound.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

// Each line is flushed at once: a killed robot leaves a complete log.
void Say(const std::string& line) {
  std::fputs((line + '\n').c_str(), stdout);
  std::fflush(stdout);
}

[[noreturn]] void Fail(const std::string& reason) {
  Say("fail\t" + reason);
  std::_Exit(2);
}

using renkomi::test::Hex;

// RLIM_INFINITY lifts the limit again, as far as the hard limit allows.
void LimitFileSize(rlim_t bytes) {
  rlimit limit{};
  if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) Fail("getrlimit");
  limit.rlim_cur = std::min(bytes, limit.rlim_max);
  if (::setrlimit(RLIMIT_FSIZE, &limit) != 0) Fail("setrlimit");
}

// The number of the message set the bubble shows, 0 when it shows none.
int BubbleSet(const QPlainTextEdit& bubble) {
  const QStringList lines = bubble.toPlainText().split(QLatin1Char('\n'));
  for (int set = 1; set <= 19; ++set) {
    QStringList expected;
    for (const std::u16string_view line : renkomi::ui::GetMessageSet(set))
      expected << QString::fromUtf16(line.data(), static_cast<qsizetype>(line.size()));
    if (expected == lines) return set;
  }
  return 0;
}

// An element of a window by its name; without it the robot cannot go on.
template <typename T = QWidget>
T* Find(const QWidget& window, const char* name) {
  T* element = window.findChild<T*>(QString::fromLatin1(name));
  if (element == nullptr) Fail(std::string("no element ") + name);
  return element;
}

// Replaces what the box holds, as a player selects it all and types anew.
void Type(QWidget* box, const QString& text) {
  if (auto* edit = qobject_cast<QLineEdit*>(box)) edit->clear();
  QInputMethodEvent commit;
  commit.setCommitString(text);
  QCoreApplication::sendEvent(box, &commit);
}

// Answers the game's dialogs the moment they are shown: "はい(&Y)" on a message,
// the question after a win as told, and the word entry dialog with the pair to
// teach, or "やめる" when there is none.
class Hand : public QObject {
 public:
  void Teach(const QString& jukugo, const QString& yomi) {
    teachJukugo = jukugo;
    teachYomi = yomi;
  }

  bool answerQuestionYes = false;
  QString teachJukugo;
  QString teachYomi;
  // Set: the text goes in by the clipboard, as pasted, and the box is this one.
  QString pasteInto;
  QPlainTextEdit* bubble = nullptr;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(watched)) {
        QMetaObject::invokeMethod(this, [this, box = QPointer<QMessageBox>(box)] { Answer(box); },
                                  Qt::QueuedConnection);
      } else if (auto* input = qobject_cast<TfrmInputBox*>(watched)) {
        QMetaObject::invokeMethod(this, [this, input = QPointer<TfrmInputBox>(input)] { Answer(input); },
                                  Qt::QueuedConnection);
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void Answer(QMessageBox* box) {
    if (box == nullptr || !box->isVisible()) return;
    Say("dialog\t" + box->windowTitle().toStdString() + '\t' + box->text().toStdString());
    const bool question = box->findChild<QAbstractButton*>(QStringLiteral("noButton")) != nullptr;
    const QString name = question && !answerQuestionYes ? QStringLiteral("noButton") : QStringLiteral("yesButton");
    auto* button = box->findChild<QAbstractButton*>(name);
    if (button == nullptr) Fail("no " + name.toStdString() + " in " + box->text().toStdString());
    QTest::mouseClick(button, Qt::LeftButton);
  }

  void Answer(TfrmInputBox* input) {
    if (input == nullptr || !input->isVisible()) return;
    Say("dialog\t" + input->windowTitle().toStdString() + "\t(word entry)");
    if (teachJukugo.isEmpty()) {
      QTest::mouseClick(Find(*input, "btnYAMERU"), Qt::LeftButton);
      return;
    }
    if (!pasteInto.isEmpty()) {
      Paste(input);
      return;
    }
    Type(Find(*input, "edtINPUT_JUKU"), teachJukugo);
    Type(Find(*input, "edtINPUT_YOMI"), teachYomi);
    teachJukugo.clear();
    QTest::mouseClick(Find(*input, "btnHAI"), Qt::LeftButton);
  }

  // Types the reading (or the jukugo), pastes the text into the other box with
  // Ctrl+V, presses "はい" and reports what the player sees; then leaves with "やめる".
  void Paste(TfrmInputBox* input) {
    const bool intoJukugo = pasteInto == QStringLiteral("jukugo");
    QLineEdit* jukugo = Find<QLineEdit>(*input, "edtINPUT_JUKU");
    QLineEdit* yomi = Find<QLineEdit>(*input, "edtINPUT_YOMI");
    QLineEdit* pasted = intoJukugo ? jukugo : yomi;
    QLineEdit* typed = intoJukugo ? yomi : jukugo;
    Type(typed, intoJukugo ? teachYomi : teachJukugo);
    QGuiApplication::clipboard()->setText(intoJukugo ? teachJukugo : teachYomi);
    pasted->setFocus();
    QTest::keyClick(pasted, Qt::Key_V, Qt::ControlModifier);
    Say("pasted\t" + QString::number(pasted->text().size()).toStdString());
    QTest::mouseClick(Find(*input, "btnHAI"), Qt::LeftButton);
    QCoreApplication::processEvents();
    Say(std::string("state\tafter-hai\tdialog=") + (input->isVisible() ? "1" : "0") +
        "\tset=" + std::to_string(bubble != nullptr ? BubbleSet(*bubble) : -1) +
        "\tjukugo=" + jukugo->text().toStdString() + "\tyomi=" + yomi->text().toStdString() +
        "\tfocus=" + (QApplication::focusWidget() != nullptr ? QApplication::focusWidget()->objectName().toStdString()
                                                              : std::string()));
    teachJukugo.clear();
    if (input->isVisible()) QTest::mouseClick(Find(*input, "btnYAMERU"), Qt::LeftButton);
  }
};

class Robot {
 public:
  Robot(TForm1& form, TfrmDicOpt& organizer, renkomi::Random& random, Hand& hand, fs::path folder)
      : form_(form), organizer_(organizer), random_(random), hand_(hand), folder_(std::move(folder)) {}

  void Run(const std::string& script, const std::vector<std::string>& arguments) {
    if (script == "loop") {
      Loop();
    } else if (script == "full-disk" && arguments.size() == 1) {
      FullDisk(static_cast<rlim_t>(std::stoull(arguments[0])));
    } else if (script == "blocked-choice" && !arguments.empty()) {
      BlockedChoice(arguments[0], arguments.size() > 1 ? arguments[1] : std::string());
    } else if (script == "refused-choice") {
      RefusedChoice();
    } else if (script == "teach-start") {
      TeachThenStart();
    } else if (script == "failed-teach" && arguments.size() == 1) {
      FailedTeach(arguments[0]);
    } else if (script == "paste-teach" && arguments.size() == 2) {
      // Hex, since a NUL cannot travel in an argument.
      const QByteArray utf8 = QByteArray::fromHex(QByteArray::fromStdString(arguments[1]));
      PasteTeach(arguments[0], QString::fromUtf8(utf8));
    } else if (script == "organize") {
      OrganizeUntouched();
    } else if (script == "loss") {
      LoseOnce();
    } else if (script == "swap-folder" && arguments.size() == 1) {
      SwapFolder(arguments[0]);
    } else if (script == "outside-edit" && (arguments.size() == 2 || arguments.size() == 3)) {
      OutsideEdit(arguments[0], arguments[1], arguments.size() == 3 ? arguments[2] : std::string());
    } else if (script == "readonly-close" && arguments.size() == 1) {
      ReadOnlyClose(arguments[0] == "changed");
    } else {
      Fail("unknown script " + script);
    }
  }

 private:
  template <typename T = QWidget>
  T* Find(const char* name) const {
    return ::Find<T>(form_, name);
  }

  // Lets posted work run, the game's error dialog among it, until no dialog is left.
  static void Settle() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    if (!QTest::qWaitFor([] { return QApplication::activeModalWidget() == nullptr; }, 20000))
      Fail("a dialog stays open");
    QCoreApplication::processEvents();
  }

  // Every press goes through the application as the mouse's would, so a failure in
  // the handler reaches the error dialog exactly as in the game.
  static void Click(QWidget* element) {
    QTest::mouseClick(element, Qt::LeftButton);
    Settle();
  }
  static void Enter(QWidget* box) {
    QTest::keyClick(box, Qt::Key_Return);
    Settle();
  }

  bool Playing() const { return Find("edtUSER_JUKU")->isEnabled(); }

  void State(const std::string& label) const {
    const std::pair<const char*, bool> flags[] = {
        {"window", form_.isVisible()},
        {"enabled", form_.isEnabled()},
        {"panel", Find("pnlSelDic")->isVisible()},
        {"choose", Find("bbtnJisyoOK")->isEnabled()},
        {"buttons", Find("btnSTART")->isVisible() && Find("btnFINISH")->isVisible() && Find("btnTEACH")->isVisible()},
        {"start", Find("btnSTART")->isEnabled()},
        {"finish", Find("btnFINISH")->isEnabled()},
        {"teach", Find("btnTEACH")->isEnabled()},
        {"playing", Playing()},
        {"organizer", organizer_.isVisible()}};
    std::string line = "state\t" + label;
    for (const auto& [key, on] : flags) line += std::string("\t") + key + (on ? "=1" : "=0");
    line += "\tcomp=" + Find<QLineEdit>("edtCOMP_JUKU")->text().toStdString();
    line += "\tuser=" + Find<renkomi::ui::Panel>("pnlUserName")->Caption().toStdString();
    line += "\tset=" + std::to_string(BubbleSet(*Find<QPlainTextEdit>("memFUKIDASI")));
    Say(line);
  }

  void Files(const std::string& label) const {
    std::set<fs::path> files;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(folder_, ec)) files.insert(entry.path());
    std::string line = "files\t" + label;
    for (const fs::path& file : files) {
      std::ifstream in(file, std::ios::binary);
      line += '\t' + file.filename().string() + '=' + Hex(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    Say(line);
  }

  void ChooseShared() { Click(Find("bbtnJisyoOK")); }

  void Surrender() {
    auto* jukugo = Find("edtUSER_JUKU");
    Type(jukugo, QStringLiteral("こうさん"));
    Enter(jukugo);
  }

  // Match after match, each lost at once: every loss saves the dictionary.
  void Loop() {
    ChooseShared();
    if (Find("pnlSelDic")->isVisible()) Fail("the dictionary was not chosen");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
    while (std::chrono::steady_clock::now() < deadline) {
      Click(Find("btnSTART"));
      if (!Playing()) Fail("no match started");
      Surrender();
    }
    Fail("never killed");
  }

  void FullDisk(rlim_t limit) {
    ChooseShared();
    State("chosen");
    Files("before");
    StartOnFirstWord();
    State("match");
    LimitFileSize(limit);
    Surrender();
    State("after-failed-save");
    Files("after-failed-save");
    StartOnFirstWord();
    State("next-match");
    Surrender();
    Files("after-second-failed-save");
    // A dictionary that cannot be written keeps the window open.
    Click(Find("btnFINISH"));
    State("close-refused");
    Files("close-refused");
    LimitFileSize(RLIM_INFINITY);
    Click(Find("btnFINISH"));
  }

  void BlockedChoice(const std::string& how, const std::string& name) {
    if (!name.empty()) {
      Click(Find("rgpJisyoSelItem1"));
      auto* box = Find<QComboBox>("cbxJisyoSel");
      Type(box->lineEdit(), QString::fromStdString(name));
      Settle();
    }
    if (how == "no-room") LimitFileSize(0);
    Click(Find("bbtnJisyoOK"));
    State("refused");
    Files("refused");
    // The player frees the folder outside the game and chooses again.
    if (how == "below-file") {
      std::error_code ec;
      fs::remove(folder_.parent_path(), ec);
      fs::create_directories(folder_, ec);
      if (ec) Fail("cannot make the folder usable");
    } else {
      LimitFileSize(RLIM_INFINITY);
    }
    Click(Find("bbtnJisyoOK"));
    State("chosen");
    Click(Find("btnFINISH"));
  }

  // Every draw takes the dictionary's first word: a deterministic match whose
  // end always rewrites the files (the first word moves to the end).
  void StartOnFirstWord() {
    random_.SetState(1);
    Click(Find("btnSTART"));
    if (!Playing()) Fail("no match started");
  }

  void RefusedChoice() {
    ChooseShared();
    State("refused");
    CloseFromOutside();
  }

  void TeachThenStart() {
    ChooseShared();
    hand_.Teach(QStringLiteral("日記"), QStringLiteral("にっき"));
    Click(Find("btnTEACH"));
    StartOnFirstWord();
    State("started");
    // Killed here, as the player's session might be.
    QTimer::singleShot(120000, [] { Fail("never killed"); });
  }

  // Another program holding the jukugo file: a process of its own, so that the
  // game's lock on the file truly waits. Returns its id once it holds the lock.
  pid_t HoldLockElsewhere() const {
    int ready[2];
    if (::pipe(ready) != 0) Fail("pipe");
    // Made before the fork: the child of a threaded process only makes system calls.
    const std::string jukugo = (folder_ / "renkomi.jdc").string();
    const pid_t pid = ::fork();
    if (pid < 0) Fail("fork");
    if (pid == 0) {
      const int fd = ::open(jukugo.c_str(), O_RDONLY);
      const char held = fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? '1' : '0';
      if (::write(ready[1], &held, 1) != 1) std::_Exit(1);
      for (;;) ::pause();
    }
    ::close(ready[1]);
    char held = '0';
    if (::read(ready[0], &held, 1) != 1 || held != '1') Fail("the other process could not lock the file");
    ::close(ready[0]);
    return pid;
  }

  void FailedTeach(const std::string& fault) {
    ChooseShared();
    pid_t holder = -1;
    if (fault == "lock") {
      holder = HoldLockElsewhere();
    } else if (fault == "limit") {
      // The save's new jukugo file, one word longer, no longer fits.
      LimitFileSize(static_cast<rlim_t>(fs::file_size(folder_ / "renkomi.jdc")));
    } else {
      Fail("unknown fault " + fault);
    }
    hand_.Teach(QStringLiteral("鬱金"), QStringLiteral("うこん"));
    Click(Find("btnTEACH"));
    Files("failed");
    if (holder > 0) {
      ::kill(holder, SIGKILL);
      ::waitpid(holder, nullptr, 0);
    } else {
      LimitFileSize(RLIM_INFINITY);
    }
    StartOnFirstWord();
    Files("started");
    Surrender();
    Click(Find("btnFINISH"));
  }

  void PasteTeach(const std::string& box, const QString& text) {
    ChooseShared();
    hand_.bubble = Find<QPlainTextEdit>("memFUKIDASI");
    hand_.pasteInto = QString::fromStdString(box);
    if (box == "jukugo")
      hand_.Teach(text, QStringLiteral("らいにち"));
    else
      hand_.Teach(QStringLiteral("来日"), text);
    Click(Find("btnTEACH"));
    State("taught");
    Click(Find("btnFINISH"));
  }

  // "辞書の整理(&D)" from the picture's menu.
  void OpenOrganizer() {
    auto* command = form_.findChild<QAction*>(QStringLiteral("K2"));
    if (command == nullptr) Fail("no command K2");
    command->trigger();
    Settle();
    if (!organizer_.isVisible()) Fail("the organizer did not open");
  }

  // Opens the organizer and closes it, deleting nothing.
  void OrganizeUntouched() {
    ChooseShared();
    OpenOrganizer();
    Click(::Find(organizer_, "btnEND"));
    State("organized");
    Click(Find("btnFINISH"));
  }

  void LoseOnce() {
    if (Find("pnlSelDic")->isVisible()) ChooseShared();
    StartOnFirstWord();
    Surrender();
    State("lost");
    Click(Find("btnFINISH"));
  }

  void SwapFolder(const fs::path& other) {
    ChooseShared();
    std::error_code ec;
    fs::rename(folder_, folder_.parent_path() / "moved", ec);
    if (!ec) fs::create_directory_symlink(other, folder_, ec);
    if (ec) Fail("cannot swap the folder: " + ec.message());
    LoseOnce();
  }

  static void ByAnotherProgram(const std::string& command) {
    if (std::system(command.c_str()) != 0) Fail("the other program failed: " + command);
  }

  void OutsideEdit(const std::string& moment, const std::string& edit, const std::string& repair) {
    ChooseShared();
    if (moment == "teach") {
      ByAnotherProgram(edit);
      hand_.Teach(QStringLiteral("日記"), QStringLiteral("にっき"));
      Click(Find("btnTEACH"));
    } else if (moment == "loss") {
      StartOnFirstWord();
      ByAnotherProgram(edit);
      Surrender();
    } else if (moment == "organizer") {
      OpenOrganizer();
      auto* grid = ::Find<QTableView>(organizer_, "stgWord");
      grid->setCurrentIndex(grid->model()->index(0, 1));
      QTest::mouseClick(::Find(organizer_, "btnDelete"), Qt::LeftButton);
      ByAnotherProgram(edit);
      Click(::Find(organizer_, "btnEND"));
    } else {
      Fail("unknown moment " + moment);
    }
    State("saved");
    Files("saved");
    if (!repair.empty()) {
      ByAnotherProgram(repair);
      if (moment == "loss") {
        StartOnFirstWord();
        Files("after-repair");
        Surrender();
      }
    }
    Click(Find("btnFINISH"));
  }

  void ReadOnlyClose(bool changed) {
    ChooseShared();
    if (changed) StartOnFirstWord();
    // As root a read-only folder stops nobody: the robot gives up the capabilities
    // that pass over file permissions, as an ordinary player never had them.
    if (!renkomi::test::MeetFilePermissions()) Fail("capset");
    if (::chmod(folder_.c_str(), 0555) != 0) Fail("chmod");
    if (changed) {
      CloseFromOutside();
      State("close-refused");
      hand_.answerQuestionYes = true;
    }
    CloseFromOutside();
  }

  // The title bar's close box, or the window manager's close: it works during a
  // match too, when "やめる" is disabled.
  void CloseFromOutside() {
    QMetaObject::invokeMethod(&form_, [this] { form_.close(); }, Qt::QueuedConnection);
    Settle();
  }

  TForm1& form_;
  TfrmDicOpt& organizer_;
  renkomi::Random& random_;
  Hand& hand_;
  fs::path folder_;
};

}  // namespace

int main(int argc, char** argv) {
  // The robot never outlives the test that started it.
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  // As the game itself: a file-size limit is a failed write, not a killed game.
  std::signal(SIGXFSZ, SIG_IGN);
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (argc < 3) Fail("usage: fault_player <script> <program folder> [argument...]");
  const std::string script = argv[1];
  const fs::path folder = argv[2];
  const std::vector<std::string> arguments(argv + 3, argv + argc);

  int qtArgc = 1;
  renkomi::ui::Application app(qtArgc, argv);

  // The windows in the game's order, wired as the game wires them. The robot plays
  // without a sound device: the game's sounds never fail towards it anyway, and the
  // desktop's sound library would only fill the log.
  renkomi::test::SilentSound sound;
  renkomi::Random random;
  renkomi::app::AppShell shell;
  renkomi::app::GameWindows windows(folder, random, sound, shell);
  TForm1& form1 = windows.Form1();
  TfrmDicOpt& frmDicOpt = windows.FrmDicOpt();

  Hand hand;
  app.installEventFilter(&hand);

  Robot robot(form1, frmDicOpt, random, hand, folder);
  QTimer::singleShot(0, &app, [&] { robot.Run(script, arguments); });
  const int code = app.exec();
  Say("exit\t" + std::to_string(code));
  return code;
}
