// Renkomi: starts one copy of the game per user, creates every window once, in
// the game's fixed order, and runs until the main window closes.
#include <QCoreApplication>
#include <QFile>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <csignal>
#include <exception>
#include <filesystem>

#include "about_box.h"
#include "animate_form.h"
#include "app_shell.h"
#include "application.h"
#include "dic_opt.h"
#include "input_box.h"
#include "main_window.h"
#include "message_dialogs.h"
#include "random.h"
#include "renkomi_wait.h"
#include "single_instance.h"
#include "sound.h"

namespace {

int RunGame(renkomi::ui::Application& app) {
  renkomi::ui::CanberraSound sound;
  renkomi::Random random;
  renkomi::app::AppShell shell;
  const std::filesystem::path programFolder(
      QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString());

  TForm1 form1(programFolder, random, sound);
  // Owned by the main window, which deletes it; it must exist before the main
  // form is recorded, since it belongs to the first window only.
  auto* animateForm1 = new renkomi::app::TAnimateForm(&form1, sound, shell);
  animateForm1->setObjectName(QStringLiteral("AnimateForm1"));
  form1.show();
  shell.SetMainForm(form1);

  renkomi::app::TRenkomiAboutBox renkomiAboutBox(&form1);
  TfrmInputBox frmInputBox(form1, form1, &form1);
  TfrmDicOpt frmDicOpt(form1.Store(), form1, form1.OrganizerPanelWidth, sound);
  TfrmRenkomiWait frmRenkomiWait;

  form1.SetAboutBox(&renkomiAboutBox);
  form1.SetInputBox(&frmInputBox);
  form1.SetOrganizer(&frmDicOpt);
  frmDicOpt.SetWaitDialog(&frmRenkomiWait);

  app.exec();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit must show up as a failed save the player is told about, not
  // kill the game with the dictionary half written.
  std::signal(SIGXFSZ, SIG_IGN);

  renkomi::app::SingleInstance instance(
      renkomi::app::SingleInstance::DefaultLockPath("RENKOMIWIN32"));
  // A second copy leaves silently; the first is not disturbed.
  if (instance.state() == renkomi::app::SingleInstance::State::AlreadyRunning) return 0;

  renkomi::ui::Application app(argc, argv);
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
    return RunGame(app);
  } catch (const std::exception& e) {
    renkomi::ui::ShowErrorDialog(nullptr, QString::fromUtf8(e.what()));
  } catch (...) {
    renkomi::ui::ShowErrorDialog(nullptr, QStringLiteral("予期しないエラーが発生しました。"));
  }
  return 1;
}
