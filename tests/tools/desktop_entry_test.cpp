// The game in the desktop's menu: the entry and icons that run.sh installs for the
// player, checked by the desktop's own validator, and their removal.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "tools_test_support.h"

namespace renkomi {
namespace {

namespace fs = std::filesystem;
using test::Quoted;
using test::ReadBytes;
using test::RunCommand;
using test::RunResult;
using test::TempFolder;
using test::WriteBytes;

class DesktopEntryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // A space and a quote in the path: the entry must still start this game.
    program_ = folder_.Path() / "my \"games\"" / "renkomi";
    fs::create_directories(program_ / "media");
    WriteBytes(program_ / "renkomi", "#!/bin/sh\n");
    fs::permissions(program_ / "renkomi", fs::perms::owner_all);
    WriteBytes(program_ / "renkomiwin32.hlp", "help");
    WriteBytes(program_ / "media" / "Tada.wav", "RIFF");
    WriteBytes(program_ / "たろう.jdc", "words\r\n");
    WriteBytes(program_ / "たろう.ydc", "words\r\n");
    data_ = folder_.Path() / "data";
  }

  RunResult Run(const std::string& arguments) {
    return RunCommand("XDG_DATA_HOME=" + Quoted(data_) + " " +
                      Quoted(fs::path(RENKOMI_TOOLS_DIR) / "desktop-entry.sh") + " " + arguments);
  }
  fs::path Entry() const { return data_ / "applications" / "renkomi.desktop"; }
  fs::path Icon(int size) const {
    const std::string dir = std::to_string(size) + "x" + std::to_string(size);
    return data_ / "icons" / "hicolor" / dir / "apps" / "renkomi.png";
  }

  TempFolder folder_;
  fs::path program_;
  fs::path data_;
};

// The width and height in a PNG file's header.
std::pair<int, int> PngSize(const std::string& bytes) {
  if (bytes.size() < 24 || bytes.compare(1, 3, "PNG") != 0) return {0, 0};
  const auto at = [&](std::size_t i) {
    return (static_cast<unsigned char>(bytes[i]) << 24) | (static_cast<unsigned char>(bytes[i + 1]) << 16) |
           (static_cast<unsigned char>(bytes[i + 2]) << 8) | static_cast<unsigned char>(bytes[i + 3]);
  };
  return {at(16), at(20)};
}

TEST_F(DesktopEntryTest, InstalledEntryIsValidAndStartsTheInstalledGame) {
  const RunResult run = Run("install " + Quoted(program_));
  ASSERT_EQ(run.status, 0) << run.output;
  const RunResult valid = RunCommand("desktop-file-validate " + Quoted(Entry()));
  EXPECT_EQ(valid.status, 0) << valid.output;
  EXPECT_EQ(valid.output, "") << "warnings or hints";

  const std::string entry = ReadBytes(Entry());
  for (const char* line : {"Name=Renkomi\n", "Name[ja]=Renkomi 熟語しりとり\n", "Categories=Game;LogicGame;\n",
                           "Icon=renkomi\n", "Keywords[ja]=しりとり;熟語;じゅくご;漢字;日本語;ことば;\n"}) {
    EXPECT_NE(entry.find(line), std::string::npos) << line;
  }
  // The launcher's own reading of Exec: the shell's, after the string escapes.
  const std::size_t at = entry.find("Exec=");
  ASSERT_NE(at, std::string::npos);
  std::string exec = entry.substr(at + 5, entry.find('\n', at) - at - 5);
  for (std::size_t i = 0; (i = exec.find("\\\\", i)) != std::string::npos; ++i) exec.erase(i, 1);
  const RunResult started = RunCommand("printf '%s' " + exec);
  EXPECT_EQ(started.output, (program_ / "renkomi").string());

  for (const int size : {48, 64, 128})
    EXPECT_EQ(PngSize(ReadBytes(Icon(size))), std::make_pair(size, size)) << size;
}

TEST_F(DesktopEntryTest, RemovalKeepsTheDictionariesUnlessAsked) {
  ASSERT_EQ(Run("install " + Quoted(program_)).status, 0);
  RunResult run = Run("remove " + Quoted(program_));
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_FALSE(fs::exists(Entry()));
  EXPECT_FALSE(fs::exists(Icon(48)));
  EXPECT_FALSE(fs::exists(program_ / "renkomi"));
  EXPECT_FALSE(fs::exists(program_ / "media"));
  EXPECT_EQ(ReadBytes(program_ / "たろう.jdc"), "words\r\n");

  run = Run("remove " + Quoted(program_) + " --dictionaries");
  ASSERT_EQ(run.status, 0) << run.output;
  EXPECT_FALSE(fs::exists(program_));
}

}  // namespace
}  // namespace renkomi
