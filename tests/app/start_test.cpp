// Starts the real game executable, as a player would, to check that only one copy
// runs per user.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>
#include <csignal>

#include "single_instance.h"

namespace renkomi::app {
namespace {

class StartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(dir_.isValid());
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("program")));
    ASSERT_TRUE(QDir(dir_.path()).mkpath(QStringLiteral("runtime")));
    QFile::setPermissions(dir_.filePath(QStringLiteral("runtime")),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                              QFileDevice::ExeOwner);
    // A program folder of its own, as the installed game has.
    program_ = dir_.filePath(QStringLiteral("program/renkomi"));
    ASSERT_TRUE(QFile::copy(QStringLiteral(RENKOMI_EXECUTABLE), program_));
    environment_ = QProcessEnvironment::systemEnvironment();
    environment_.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment_.insert(QStringLiteral("XDG_RUNTIME_DIR"), dir_.filePath(QStringLiteral("runtime")));
  }

  void Start(QProcess& game) {
    game.setProcessEnvironment(environment_);
    game.setWorkingDirectory(dir_.path());
    game.start(program_, {});
    ASSERT_TRUE(game.waitForStarted());
  }

  std::filesystem::path LockFile() const {
    return std::filesystem::path(dir_.filePath(QStringLiteral("runtime")).toStdString()) /
           "RENKOMIWIN32.lock";
  }

  // Waits until a running copy holds the lock.
  bool WaitUntilRunning(QProcess& game) {
    for (int i = 0; i < 300; ++i) {
      if (game.state() != QProcess::Running) return false;
      if (SingleInstance(LockFile()).state() == SingleInstance::State::AlreadyRunning) return true;
      QThread::msleep(20);
    }
    return false;
  }
  void StartRunning(QProcess& game) {
    Start(game);
    ASSERT_TRUE(WaitUntilRunning(game)) << game.readAllStandardError().toStdString();
  }

  QTemporaryDir dir_;
  QString program_;
  QProcessEnvironment environment_;
};

// The program folder's own lock keeps two copies apart whatever their
// environment: also with other runtime and temporary folders the second leaves.
class SecondCopyTest : public StartTest, public ::testing::WithParamInterface<bool> {};

TEST_P(SecondCopyTest, LeavesAtOnceAndSilently) {
  QProcess first;
  ASSERT_NO_FATAL_FAILURE(StartRunning(first));
  if (GetParam()) {
    // A folder of its own for each, named after its variable.
    for (const char* variable : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
      ASSERT_TRUE(QDir(dir_.path()).mkpath(QLatin1String(variable)));
      environment_.insert(QLatin1String(variable), dir_.filePath(QLatin1String(variable)));
    }
  }
  QProcess second;
  QElapsedTimer clock;
  clock.start();
  Start(second);
  ASSERT_TRUE(second.waitForFinished(10000)) << "two copies run on one program folder";
  EXPECT_LT(clock.elapsed(), 5000);
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(second.readAllStandardOutput().isEmpty());
  EXPECT_TRUE(second.readAllStandardError().isEmpty());
  // The first copy is left alone.
  EXPECT_EQ(first.state(), QProcess::Running);
  first.kill();
  ASSERT_TRUE(first.waitForFinished());
}

INSTANTIATE_TEST_SUITE_P(Environments, SecondCopyTest, ::testing::Values(false, true), [](const auto& info) {
  return std::string(info.param ? "OtherRuntimeAndTemporaryFolders" : "Same");
});

TEST_F(StartTest, KilledCopyDoesNotBlockTheNextStart) {
  QProcess first;
  ASSERT_NO_FATAL_FAILURE(StartRunning(first));
  first.kill();  // SIGKILL: no chance to clean anything up
  ASSERT_TRUE(first.waitForFinished());

  QProcess next;
  Start(next);
  EXPECT_TRUE(WaitUntilRunning(next)) << next.readAllStandardError().toStdString();
  EXPECT_FALSE(next.waitForFinished(500));
  next.kill();
  next.waitForFinished();
}

// A save under a file-size limit must be told to the player as a failed save; the
// limit's signal must not end the game with the dictionary half written.
TEST_F(StartTest, FileSizeSignalDoesNotEndTheGame) {
  QProcess game;
  ASSERT_NO_FATAL_FAILURE(StartRunning(game));
  ASSERT_EQ(::kill(static_cast<pid_t>(game.processId()), SIGXFSZ), 0);
  EXPECT_FALSE(game.waitForFinished(1000)) << "the file-size signal ended the game";
  EXPECT_EQ(game.state(), QProcess::Running);
  game.kill();
  game.waitForFinished();
}

}  // namespace
}  // namespace renkomi::app

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  QCoreApplication app(argc, argv);
  return RUN_ALL_TESTS();
}
