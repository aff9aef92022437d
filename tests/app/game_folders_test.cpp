// Where the game finds the player's dictionaries, its help and its sounds: in
// run.sh's program folder, or installed by the package with the player's own
// folder, also under a root that is not / (dpkg -x).
#include "game_folders.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>

#include "test_support.h"

namespace renkomi::app {
namespace {

namespace fs = std::filesystem;

struct FoldersRow {
  const char* name;
  const char* executableFolder;  // under the test's root
  const char* helpIn;            // folder under the root that holds the help file, or ""
  const char* xdgDataHome;
  const char* home;
  const char* program;  // expected; a leading "@" stands for the root
  const char* data;
  bool installed;
};
void PrintTo(const FoldersRow& row, std::ostream* out) { *out << row.name; }

fs::path UnderRoot(const fs::path& root, std::string path) {
  return path.starts_with("@") ? root / path.substr(2) : fs::path(path);
}

class GameFoldersTest : public ::testing::TestWithParam<FoldersRow> {};

TEST_P(GameFoldersTest, FindsTheDictionariesHelpAndSounds) {
  const FoldersRow& row = GetParam();
  test::TempFolder root;
  fs::create_directories(root.Path() / row.executableFolder);
  if (*row.helpIn != '\0') {
    fs::create_directories(root.Path() / row.helpIn);
    test::WriteBytes(root.Path() / row.helpIn / "renkomiwin32.hlp", "<html></html>");
  }
  const GameFolders folders = LocateGameFolders(root.Path() / row.executableFolder, row.xdgDataHome, row.home);
  EXPECT_EQ(folders.program, UnderRoot(root.Path(), row.program));
  EXPECT_EQ(folders.data, UnderRoot(root.Path(), row.data));
  EXPECT_EQ(folders.installed, row.installed);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, GameFoldersTest,
    ::testing::Values(
        FoldersRow{"RunShProgramFolder", "prog", "prog", "/x/data", "/home/p", "@/prog", "@/prog", false},
        FoldersRow{"RunShProgramFolderNamedBin", "bin", "bin", "", "/home/p", "@/bin", "@/bin", false},
        FoldersRow{"InstalledInGames", "usr/games", "usr/share/renkomi", "/x/data", "/home/p", "/x/data/renkomi",
                   "@/usr/share/renkomi", true},
        FoldersRow{"InstalledInBinWithoutXdgDataHome", "bin", "share/renkomi", "", "/home/p",
                   "/home/p/.local/share/renkomi", "@/share/renkomi", true},
        FoldersRow{"RelativeXdgDataHomeCountsAsUnset", "usr/games", "usr/share/renkomi", "data", "/home/p",
                   "/home/p/.local/share/renkomi", "@/usr/share/renkomi", true},
        FoldersRow{"GamesFolderWithoutShareRenkomi", "usr/games", "", "/x/data", "/home/p", "@/usr/games",
                   "@/usr/games", false},
        FoldersRow{"BuildFolder", "build/app", "", "/x/data", "/home/p", "@/build/app", "@/build/app", false}),
    [](const ::testing::TestParamInfo<FoldersRow>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace renkomi::app
