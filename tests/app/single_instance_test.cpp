#include "single_instance.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <ostream>
#include <sched.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QProcess>
#include <QTemporaryDir>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

#include "test_support.h"

namespace renkomi::app {
namespace {

using State = SingleInstance::State;

struct LockPathCase {
  const char* name;
  const char* runtimeDir;
  const char* expected;
};
void PrintTo(const LockPathCase& row, std::ostream* out) { *out << row.name; }

class LockPathTest : public ::testing::TestWithParam<LockPathCase> {};

TEST_P(LockPathTest, PicksTheUsersFolder) {
  EXPECT_EQ(SingleInstance::LockPath("RENKOMIWIN32", GetParam().runtimeDir, "/tmp", 1000),
            std::filesystem::path(GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Folders, LockPathTest,
    ::testing::Values(
        LockPathCase{"RuntimeFolder", "/run/user/1000", "/run/user/1000/RENKOMIWIN32.lock"},
        LockPathCase{"NoRuntimeFolder", "", "/tmp/RENKOMIWIN32-1000.lock"},
        // A relative runtime folder would depend on where the game was started.
        LockPathCase{"RelativeRuntimeFolder", "run", "/tmp/RENKOMIWIN32-1000.lock"}),
    [](const auto& info) { return std::string(info.param.name); });

class SingleInstanceTest : public ::testing::Test {
 protected:
  std::filesystem::path Lock() const {
    return std::filesystem::path(dir_.path().toStdString()) / "RENKOMIWIN32.lock";
  }
  QTemporaryDir dir_;
};

TEST_F(SingleInstanceTest, SecondHolderIsToldAnotherCopyRuns) {
  std::optional<SingleInstance> first(std::in_place, Lock());
  ASSERT_EQ(first->state(), State::Acquired);
  {
    SingleInstance second(Lock());
    EXPECT_EQ(second.state(), State::AlreadyRunning);
  }
  // The refused attempt must not have taken anything from the first.
  EXPECT_EQ(SingleInstance(Lock()).state(), State::AlreadyRunning);
  first.reset();
  EXPECT_EQ(SingleInstance(Lock()).state(), State::Acquired);
}

TEST_F(SingleInstanceTest, KilledHolderReleasesTheLock) {
  const std::filesystem::path lock = Lock();  // no allocation in the child
  const pid_t child = ::fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    SingleInstance held(lock);
    if (held.state() != State::Acquired) ::_exit(1);
    ::pause();
    ::_exit(0);
  }
  test::Child holder(child);
  // Wait until the child holds it.
  bool held = false;
  for (int i = 0; i < 500 && !held; ++i) {
    held = SingleInstance(Lock()).state() == State::AlreadyRunning;
    if (!held) ::usleep(10000);
  }
  ASSERT_TRUE(held);
  const int status = holder.Kill();
  ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << "the holder had ended: " << status;
  EXPECT_EQ(SingleInstance(Lock()).state(), State::Acquired);
}

TEST_F(SingleInstanceTest, ChildProgramsDoNotInheritTheLock) {
  std::optional<SingleInstance> game(std::in_place, Lock());
  ASSERT_EQ(game->state(), State::Acquired);
  // Something the game starts (a help viewer, say) outlives the game.
  QProcess helper;
  helper.start(QStringLiteral("sleep"), {QStringLiteral("30")});
  ASSERT_TRUE(helper.waitForStarted());
  game.reset();
  EXPECT_EQ(SingleInstance(Lock()).state(), State::Acquired);
  helper.kill();
  helper.waitForFinished();
}

// Without a runtime folder both players' locks lie in the one temporary folder:
// a second player starting the game while the first plays must not be turned away.
TEST_F(SingleInstanceTest, TwoPlayersWithoutRuntimeFoldersEachGetTheirOwnLock) {
  const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR"), temp = qgetenv("TMPDIR");
  qunsetenv("XDG_RUNTIME_DIR");
  qputenv("TMPDIR", dir_.path().toLocal8Bit());
  const std::string uidMap = "4242 " + std::to_string(::getuid()) + " 1";
  std::optional<SingleInstance> first(std::in_place, SingleInstance::DefaultLockPath("RENKOMIWIN32"));
  const pid_t child = ::fork();
  if (child == 0) {
    // The other player: user 4242 in a user namespace of its own.
    if (::unshare(CLONE_NEWUSER) != 0) ::_exit(3);
    const int map = ::open("/proc/self/uid_map", O_WRONLY);
    if (map < 0 || ::write(map, uidMap.data(), uidMap.size()) != static_cast<ssize_t>(uidMap.size())) ::_exit(3);
    ::close(map);
    const SingleInstance second(SingleInstance::DefaultLockPath("RENKOMIWIN32"));
    ::_exit(second.state() == State::Acquired ? 0 : 1);
  }
  runtime.isNull() ? qunsetenv("XDG_RUNTIME_DIR") : qputenv("XDG_RUNTIME_DIR", runtime);
  temp.isNull() ? qunsetenv("TMPDIR") : qputenv("TMPDIR", temp);
  ASSERT_GE(child, 0);
  test::Child other(child);
  ASSERT_EQ(first->state(), State::Acquired);
  const int status = other.Wait();
  ASSERT_NE(WEXITSTATUS(status), 3) << "no user namespace for a second player";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "the second player was refused or found no lock";
}

TEST_F(SingleInstanceTest, NoLockMeansTheGameRunsUnprotected) {
  EXPECT_EQ(SingleInstance(Lock().parent_path() / "missing" / "x.lock").state(),
            State::Unavailable);
}

TEST_F(SingleInstanceTest, PlantedLinkIsNotFollowed) {
  const auto target = Lock().parent_path() / "dictionary.jdc";
  std::ofstream(target) << "keep";
  std::filesystem::create_symlink(target, Lock());
  EXPECT_EQ(SingleInstance(Lock()).state(), State::Unavailable);
  std::ifstream in(target);
  std::string text;
  in >> text;
  EXPECT_EQ(text, "keep");
}

// Another user's file that anyone may write: only its owner keeps it from being used.
TEST_F(SingleInstanceTest, LockFileOfAnotherUserIsNotTrusted) {
  std::ofstream(Lock()) << "";
  using std::filesystem::perms;
  std::filesystem::permissions(Lock(), perms::owner_read | perms::owner_write | perms::group_read |
                                           perms::group_write | perms::others_read | perms::others_write);
  ASSERT_TRUE(test::GiveToAnotherUser(Lock()))
      << "cannot give a file to another user: run as root, or as a user with ids in /etc/subuid and "
         "/etc/subgid and newuidmap (package uidmap) installed";
  ASSERT_EQ(::access(Lock().c_str(), R_OK | W_OK), 0) << "the file must be open to us, or its mode would refuse it";
  EXPECT_EQ(SingleInstance(Lock()).state(), State::Unavailable);
}

}  // namespace
}  // namespace renkomi::app
