#include "line_diff.h"

#include <cstdlib>

namespace renkomi {
namespace {

// The shortest edit between before[from, from + n) and now[from, from + m), by
// the greedy walk of Myers' "An O(ND) difference algorithm" (1986). `frontiers[d]`
// keeps, for each diagonal k = x - y, how far a path of d edits reached along it.
bool MatchMiddle(const std::vector<std::string>& before, const std::vector<std::string>& now, std::size_t from,
                 long n, long m, long maxEdits, std::vector<std::size_t>& matched) {
  const long offset = maxEdits + 1;
  std::vector<long> reach(2 * offset + 1, 0);
  std::vector<std::vector<long>> frontiers;
  const auto same = [&](long x, long y) { return before[from + x] == now[from + y]; };
  for (long d = 0; d <= maxEdits; ++d) {
    frontiers.push_back(reach);
    for (long k = -d; k <= d; k += 2) {
      long x = (k == -d || (k != d && reach[offset + k - 1] < reach[offset + k + 1])) ? reach[offset + k + 1]
                                                                                    : reach[offset + k - 1] + 1;
      while (x < n && x - k < m && same(x, x - k)) ++x;
      reach[offset + k] = x;
      if (x < n || x - k < m) continue;
      // Back along the path, from the end: each diagonal run is lines kept.
      long y = m;
      for (long e = d; e >= 0; --e) {
        const std::vector<long>& at = frontiers[e];
        const long kk = x - y;
        const long prevK = (kk == -e || (kk != e && at[offset + kk - 1] < at[offset + kk + 1])) ? kk + 1 : kk - 1;
        const long prevX = e == 0 ? 0 : at[offset + prevK];
        const long prevY = e == 0 ? 0 : prevX - prevK;
        for (; x > prevX && y > prevY; --x, --y) matched[from + y - 1] = from + x - 1;
        x = prevX;
        y = prevY;
      }
      return true;
    }
  }
  return false;
}

}  // namespace

std::optional<std::vector<std::size_t>> MatchLines(const std::vector<std::string>& before,
                                                   const std::vector<std::string>& now, std::size_t maxEdits) {
  std::vector<std::size_t> matched(now.size(), kAddedLine);
  std::size_t start = 0;
  while (start < before.size() && start < now.size() && before[start] == now[start]) {
    matched[start] = start;
    ++start;
  }
  std::size_t end = 0;
  while (end < before.size() - start && end < now.size() - start &&
         before[before.size() - 1 - end] == now[now.size() - 1 - end]) {
    matched[now.size() - 1 - end] = before.size() - 1 - end;
    ++end;
  }
  const long n = static_cast<long>(before.size() - start - end);
  const long m = static_cast<long>(now.size() - start - end);
  if (static_cast<std::size_t>(std::abs(n - m)) > maxEdits) return std::nullopt;
  if (!MatchMiddle(before, now, start, n, m, static_cast<long>(maxEdits), matched)) return std::nullopt;
  return matched;
}

}  // namespace renkomi
