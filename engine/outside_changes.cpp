#include "outside_changes.h"

#include <fcntl.h>

#include <algorithm>
#include <cstddef>
#include <functional>
#include <string_view>
#include <unordered_map>

#include "line_diff.h"

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
template <typename T>
using PairMap = std::unordered_map<PairView, T, PairViewHash>;

PairView Key(const PairLines& lines, std::size_t i) { return {lines.jukugo[i], lines.yomi[i]}; }
std::size_t PairCount(const PairLines& lines) { return std::min(lines.jukugo.size(), lines.yomi.size()); }

// How often a pair occurs in each version, how often the merge keeps it, and
// where the passes below stand with it.
struct Counts {
  std::size_t base = 0;
  std::size_t disk = 0;
  std::size_t mine = 0;
  std::size_t keep = 0;
  std::size_t met = 0;               // lines of it met so far in the other program's file
  std::size_t taken = 0;             // kept lines of it placed so far
  std::size_t firstAt = kNotPlaced;  // its first place among the game's kept lines
  static constexpr std::size_t kNotPlaced = static_cast<std::size_t>(-1);
};

// Each line's counts, looked up once: the passes go by these.
struct Tallies {
  PairMap<Counts> pairs;
  std::vector<Counts*> base;
  std::vector<Counts*> disk;
  std::vector<Counts*> mine;
};

// Each side's change against the last known pairs, a change both sides made
// counted once.
Tallies CountPairs(const PairLines& base, const PairLines& disk, const PairLines& mine) {
  Tallies t;
  t.pairs.reserve(PairCount(mine) + PairCount(disk));
  const auto count = [&t](const PairLines& lines, std::size_t Counts::*side, std::vector<Counts*>& byLine) {
    byLine.reserve(PairCount(lines));
    for (std::size_t i = 0; i < PairCount(lines); ++i) {
      Counts& c = t.pairs[Key(lines, i)];
      ++(c.*side);
      byLine.push_back(&c);
    }
  };
  count(base, &Counts::base, t.base);
  count(disk, &Counts::disk, t.disk);
  count(mine, &Counts::mine, t.mine);
  for (auto& [pair, c] : t.pairs) {
    if (c.mine >= c.base && c.disk >= c.base)
      c.keep = std::max(c.mine, c.disk);
    else if (c.mine <= c.base && c.disk <= c.base)
      c.keep = std::min(c.mine, c.disk);
    else
      c.keep = c.mine + c.disk - c.base;  // one side added what the other removed
  }
  return t;
}

// Which lines of the other program's file the game knew: of a pair met n times
// before, its first n lines there. The others are that program's additions.
std::vector<bool> KnownLines(const std::vector<Counts*>& disk) {
  std::vector<bool> known(disk.size());
  for (std::size_t i = 0; i < disk.size(); ++i) known[i] = disk[i]->met++ < disk[i]->base;
  return known;
}

// The game's lines in its own order, less those the other program removed, as
// indices into its list; each pair's first kept line is where the additions that
// follow it anchor.
std::vector<std::size_t> KeepGamesLines(const std::vector<Counts*>& mine) {
  std::vector<std::size_t> kept;
  kept.reserve(mine.size());
  for (std::size_t i = 0; i < mine.size(); ++i) {
    Counts& c = *mine[i];
    if (c.taken == c.keep) continue;
    if (c.taken++ == 0) c.firstAt = kept.size();
    kept.push_back(i);
  }
  return kept;
}

// Where the other program's additions go: slot 0 is before the game's first line,
// slot k + 1 after its line k. A line the game knew anchors the additions after
// it; those after the file's last known line were appended and go to the end,
// unless the file's old last line is gone, when they stay where they are.
std::vector<std::vector<std::size_t>> PlaceAdditions(const Tallies& t, std::size_t keptLines) {
  const std::vector<bool> known = KnownLines(t.disk);
  const bool lastLineKept = t.base.empty() || t.base.back()->disk >= t.base.back()->base;
  const auto trailing = static_cast<std::size_t>(std::find(known.rbegin(), known.rend(), true) - known.rbegin());
  std::vector<std::vector<std::size_t>> after(keptLines + 1);
  std::size_t slot = 0;
  for (std::size_t i = 0; i < known.size(); ++i) {
    Counts& c = *t.disk[i];
    if (known[i]) {
      if (c.firstAt != Counts::kNotPlaced) slot = c.firstAt + 1;  // one the game deleted anchors nothing
      continue;
    }
    if (c.taken == c.keep) continue;
    ++c.taken;
    const bool appended = known.size() - i <= trailing && lastLineKept;
    after[appended ? keptLines : slot].push_back(i);
  }
  return after;
}

// A base pair gone from one file only, put back there; the rest of a stretch of
// lines between two pairs both files kept pairs up in order (a changed reading is
// the old jukugo beside the new reading).
struct Stretch {
  std::vector<std::string> lines;
  std::vector<std::size_t> from;  // the base line each one is, or kAddedLine
};
void PutBack(Stretch& here, const Stretch& there, const std::vector<std::string>& baseLines,
             const std::vector<bool>& keptHere) {
  for (std::size_t t = 0; t < there.from.size(); ++t) {
    const std::size_t i = there.from[t];
    if (i == kAddedLine || keptHere[i]) continue;
    const std::size_t at = std::min(t, here.lines.size());
    here.lines.insert(here.lines.begin() + static_cast<long>(at), baseLines[i]);
    here.from.insert(here.from.begin() + static_cast<long>(at), i);
  }
}

// An editor that writes its new pair into a copy of each file it read before the
// game's save leaves one file without the game's new line, and every pair after
// it mispaired. Matched line by line against the game's last files, such a file
// gets that line back and the files pair up again. Only when both files gained
// the same number of lines: a line gone from one file alone with nothing added is
// a pair being deleted one file at a time, and is left to its editor.
std::optional<PairLines> RealignHalfDroppedPairs(const PairLines& base, const PairLines& disk) {
  constexpr std::size_t kMaxEdits = 500;
  const auto jukugoFrom = MatchLines(base.jukugo, disk.jukugo, kMaxEdits);
  const auto yomiFrom = MatchLines(base.yomi, disk.yomi, kMaxEdits);
  if (!jukugoFrom || !yomiFrom || base.jukugo.size() != base.yomi.size()) return std::nullopt;
  const auto added = std::count(jukugoFrom->begin(), jukugoFrom->end(), kAddedLine);
  if (added == 0 || added != std::count(yomiFrom->begin(), yomiFrom->end(), kAddedLine)) return std::nullopt;
  std::vector<bool> inJukugo(base.jukugo.size()), inYomi(base.yomi.size());
  for (const std::size_t i : *jukugoFrom) if (i != kAddedLine) inJukugo[i] = true;
  for (const std::size_t i : *yomiFrom) if (i != kAddedLine) inYomi[i] = true;
  const auto inBoth = [&](std::size_t i) { return i != kAddedLine && inJukugo[i] && inYomi[i]; };
  // The stretch of one file up to its next line that both files kept.
  const auto stretch = [&](const std::vector<std::string>& lines, const std::vector<std::size_t>& from,
                           std::size_t& at) {
    Stretch s;
    for (; at < lines.size() && !inBoth(from[at]); ++at) {
      s.lines.push_back(lines[at]);
      s.from.push_back(from[at]);
    }
    return s;
  };
  PairLines realigned;
  for (std::size_t j = 0, y = 0; j < disk.jukugo.size() || y < disk.yomi.size(); ++j, ++y) {
    Stretch jukugo = stretch(disk.jukugo, *jukugoFrom, j);
    Stretch yomi = stretch(disk.yomi, *yomiFrom, y);
    if (jukugo.lines.size() != yomi.lines.size()) {
      PutBack(jukugo, yomi, base.jukugo, inJukugo);
      PutBack(yomi, jukugo, base.yomi, inYomi);
    }
    if (jukugo.lines.size() != yomi.lines.size()) return std::nullopt;
    for (std::size_t t = 0; t < jukugo.lines.size(); ++t) {
      realigned.jukugo.push_back(std::move(jukugo.lines[t]));
      realigned.yomi.push_back(std::move(yomi.lines[t]));
    }
    if (j < disk.jukugo.size() && y < disk.yomi.size()) {
      realigned.jukugo.push_back(disk.jukugo[j]);
      realigned.yomi.push_back(disk.yomi[y]);
    }
  }
  return realigned;
}

PairLines Interleave(const PairLines& mine, const std::vector<std::size_t>& kept, const PairLines& disk,
                     const std::vector<std::vector<std::size_t>>& after) {
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

}  // namespace

std::optional<PairLines> MergeOutsideChanges(const PairLines& base, const PairLines& disk,
                                             const PairLines& mine) {
  std::optional<PairLines> realigned;
  if (disk.jukugo.size() != disk.yomi.size()) {
    realigned = RealignHalfDroppedPairs(base, disk);
    if (!realigned) return std::nullopt;
  }
  const PairLines& outside = realigned ? *realigned : disk;
  Tallies tallies = CountPairs(base, outside, mine);
  const std::vector<std::size_t> kept = KeepGamesLines(tallies.mine);
  return Interleave(mine, kept, outside, PlaceAdditions(tallies, kept.size()));
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
