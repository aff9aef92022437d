#include "outside_changes.h"

#include <fcntl.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string_view>
#include <unordered_map>

namespace renkomi {
namespace {

// A pair as the lists hold it, for counting without copying its texts.
struct PairView {
  std::string_view jukugo;
  std::string_view yomi;
  bool operator==(const PairView&) const = default;
};
struct PairViewHash {
  std::size_t operator()(const PairView& pair) const {
    const std::size_t j = std::hash<std::string_view>{}(pair.jukugo);
    return j ^ (std::hash<std::string_view>{}(pair.yomi) + 0x9E3779B97F4A7C15ull + (j << 6) + (j >> 2));
  }
};
PairView Key(const PairLines& lines, std::size_t i) { return {lines.jukugo[i], lines.yomi[i]}; }

struct Tally {
  std::size_t base = 0;
  std::size_t disk = 0;
  std::size_t mine = 0;
  std::size_t keep = 0;    // how many the merged pairs hold
  std::size_t kept = 0;    // how many of them are placed so far
  std::size_t onDisk = 0;  // occurrences met so far in the other program's file
  std::size_t place = 0;   // where the game's list keeps its first one
  bool placed = false;
};

// Each side's change against the last known pairs, a change both sides made
// counted once.
std::size_t Keep(const Tally& t) {
  if (t.mine >= t.base && t.disk >= t.base) return std::max(t.mine, t.disk);
  if (t.mine <= t.base && t.disk <= t.base) return std::min(t.mine, t.disk);
  return t.mine + t.disk - t.base;  // one side added what the other removed
}

std::size_t PairCount(const PairLines& lines) { return std::min(lines.jukugo.size(), lines.yomi.size()); }

}  // namespace

std::optional<PairLines> MergeOutsideChanges(const PairLines& base, const PairLines& disk,
                                             const PairLines& mine) {
  if (disk.jukugo.size() != disk.yomi.size()) return std::nullopt;

  std::unordered_map<PairView, Tally, PairViewHash> tallies;
  tallies.reserve(PairCount(mine) + PairCount(disk));
  // Each line's tally, looked up once: the walks below go by these.
  const auto count = [&](const PairLines& lines, std::size_t Tally::*side) {
    std::vector<Tally*> lineTallies;
    lineTallies.reserve(PairCount(lines));
    for (std::size_t i = 0; i < PairCount(lines); ++i) {
      Tally& t = tallies[Key(lines, i)];
      ++(t.*side);
      lineTallies.push_back(&t);
    }
    return lineTallies;
  };
  const std::vector<Tally*> baseTallies = count(base, &Tally::base);
  const std::vector<Tally*> diskTallies = count(disk, &Tally::disk);
  const std::vector<Tally*> mineTallies = count(mine, &Tally::mine);
  for (auto& [key, tally] : tallies) tally.keep = Keep(tally);

  // The game's list in its order, less what the other program removed.
  std::vector<std::size_t> kept;
  kept.reserve(PairCount(mine));
  for (std::size_t i = 0; i < PairCount(mine); ++i) {
    Tally& t = *mineTallies[i];
    if (t.kept == t.keep) continue;
    if (!t.placed) {
      t.place = kept.size();
      t.placed = true;
    }
    ++t.kept;
    kept.push_back(i);
  }

  // The other program's additions. A line the game knew anchors the additions that
  // follow it; those after the file's last line, still in place, were appended and
  // go to the end. A changed last line stays where it was.
  const bool lastLineKept = baseTallies.empty() || baseTallies.back()->disk >= baseTallies.back()->base;
  std::size_t knownLinesLeft = 0;
  for (Tally* t : diskTallies) {
    if (t->onDisk++ < t->base) ++knownLinesLeft;
  }
  for (auto& [key, tally] : tallies) tally.onDisk = 0;
  // Slot 0 is before the game's first pair, slot k + 1 after its pair k.
  std::vector<std::vector<std::size_t>> after(kept.size() + 1);
  std::size_t slot = 0;
  for (std::size_t i = 0; i < disk.jukugo.size(); ++i) {
    Tally& t = *diskTallies[i];
    if (t.onDisk++ < t.base) {
      --knownLinesLeft;
      if (t.placed) slot = t.place + 1;  // a pair the game deleted anchors nothing
      continue;
    }
    if (t.kept == t.keep) continue;
    ++t.kept;
    after[knownLinesLeft == 0 && lastLineKept ? kept.size() : slot].push_back(i);
  }

  PairLines merged;
  merged.jukugo.reserve(kept.size() + disk.jukugo.size());
  merged.yomi.reserve(kept.size() + disk.jukugo.size());
  const auto put = [&merged](const PairLines& from, std::size_t i) {
    merged.jukugo.push_back(from.jukugo[i]);
    merged.yomi.push_back(from.yomi[i]);
  };
  for (const std::size_t d : after[0]) put(disk, d);
  for (std::size_t k = 0; k < kept.size(); ++k) {
    put(mine, kept[k]);
    for (const std::size_t d : after[k + 1]) put(disk, d);
  }
  return merged;
}

bool FileStamp::operator==(const FileStamp& other) const {
  return exists == other.exists && device == other.device && inode == other.inode && size == other.size &&
         modified.tv_sec == other.modified.tv_sec && modified.tv_nsec == other.modified.tv_nsec &&
         changed.tv_sec == other.changed.tv_sec && changed.tv_nsec == other.changed.tv_nsec;
}

FileStamp StampOf(int folderFd, const std::string& name) {
  struct stat st{};
  // Not followed: a link put in the file's place is a change.
  if (::fstatat(folderFd, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) return FileStamp{};
  return FileStamp{true, st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

Error ChangedOutsideUnevenError(const std::string& dictionary, const std::string& jukugoPath,
                                std::size_t jukugoLines, const std::string& yomiPath,
                                std::size_t yomiLines) {
  return Error("辞書「" + dictionary + "」はゲームの外で変更され、ファイルの行数がそろっていません: " +
               jukugoPath + " は " + std::to_string(jukugoLines) + " 行、" + yomiPath + " は " +
               std::to_string(yomiLines) +
               " 行です。辞書は保存していません。ファイルを直すと、次の保存でゲームの変更もあわせて保存します");
}

}  // namespace renkomi
