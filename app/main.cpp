// Renkomi: starts one copy of the game per user, creates every window once, in
// the game's fixed order, and runs until the main window closes.
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <pwd.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <string>
#include <system_error>

#include "app_shell.h"
#include "application.h"
#include "dictionary_files.h"
#include "dictionary_generator.h"
#include "errors.h"
#include "first_dictionaries.h"
#include "game_folders.h"
#include "game_windows.h"
#include "message_dialogs.h"
#include "random.h"
#include "single_instance.h"
#include "sound.h"

namespace {

int RunGame(renkomi::ui::Application& app, renkomi::app::GameFolders folders) {
  renkomi::ui::CanberraSound sound;
  renkomi::Random random;
  renkomi::app::AppShell shell;
  if (folders.program.empty() && folders.installed) {
    throw renkomi::UnknownHomeError();
  }
  if (folders.program.empty()) {
    folders.program = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
  }
  // The choice panel offers what the folder holds when it shows.
  if (folders.installed) renkomi::app::MakeFirstDictionaries(folders.program, renkomi::WordSources());
  renkomi::app::GameWindows windows(folders.program, random, sound, shell, folders.data);
  app.exec();
  return 0;
}

// The folders of the game as it was installed; empty where the executable
// cannot be read, and then found by Qt once it runs. `problem` says, in the
// player's language, why the player's folder could not be made.
renkomi::app::GameFolders LocateFolders(std::string& problem) {
  std::error_code noExecutable;
  const std::filesystem::path executable = std::filesystem::read_symlink("/proc/self/exe", noExecutable);
  if (noExecutable) return {};
  const char* xdgDataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  if (home == nullptr || *home == '\0') {
    const passwd* account = getpwuid(getuid());
    home = account != nullptr ? account->pw_dir : nullptr;
  }
  renkomi::app::GameFolders folders = renkomi::app::LocateGameFolders(
      executable.parent_path(), xdgDataHome != nullptr ? xdgDataHome : "", home != nullptr ? home : "");
  // The player's folder is made on the first start, below a home folder that is
  // there: a home folder that does not exist is the player's to fix, not the
  // game's to make.
  if (folders.installed && !folders.program.empty()) {
    const bool belowHome = xdgDataHome == nullptr || !std::filesystem::path(xdgDataHome).is_absolute();
    try {
      renkomi::MakeDictionaryFolder(folders.program, belowHome && home != nullptr ? home : "");
    } catch (const renkomi::Error& cannotMake) {
      problem = cannotMake.what();
    }
  }
  return folders;
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit must show up as a failed save the player is told about, not
  // kill the game with the dictionary half written.
  std::signal(SIGXFSZ, SIG_IGN);

  // The program folder holds the dictionaries: two copies on one folder, whatever
  // their environment, would write over each other's words.
  std::string folderProblem;
  const renkomi::app::GameFolders folders = LocateFolders(folderProblem);
  const std::filesystem::path& programFolder = folders.program;
  renkomi::app::SingleInstance instance(renkomi::app::SingleInstance::DefaultLockPath("RENKOMIWIN32"),
                                        programFolder);
  // A second copy leaves silently; the first is not disturbed.
  if (instance.state() == renkomi::app::SingleInstance::State::AlreadyRunning) return 0;

  renkomi::ui::Application app(argc, argv);
  // Without its folder the game can keep no word: the true cause, and no start.
  if (!folderProblem.empty()) {
    renkomi::ui::ShowErrorDialog(nullptr, QString::fromStdString(folderProblem));
    return 1;
  }
  if (instance.state() != renkomi::app::SingleInstance::State::Acquired) {
    // Without a lock nothing would keep a second copy from scrambling the words.
    renkomi::ui::ShowErrorDialog(
        nullptr, QStringLiteral("ほかの Renkomi が動いていないか確かめられないため、起動できません。\n"
                                "プログラムのフォルダ %1 を開けるか確かめて下さい。")
                     .arg(QString::fromStdString(programFolder.string())));
    return 1;
  }
  QCoreApplication::setApplicationName(QStringLiteral("Renkomi"));
  QGuiApplication::setWindowIcon(QIcon(QStringLiteral(":/renkomi/icon.png")));
  // The game speaks Japanese everywhere, also in the edit boxes' own menus.
  QTranslator qtTranslator;
  if (qtTranslator.load(QLocale(QLocale::Japanese, QLocale::Japan), QStringLiteral("qtbase"),
                        QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(&qtTranslator);
  }

  // Failures inside the event loop are shown by the application; this catches the
  // ones while the windows are being created.
  try {
    return RunGame(app, folders);
  } catch (const std::exception& e) {
    renkomi::ui::ShowErrorDialog(nullptr, e);
  } catch (...) {
    renkomi::ui::ShowErrorDialog(nullptr, QStringLiteral("予期しないエラーが発生しました。"));
  }
  return 1;
}
