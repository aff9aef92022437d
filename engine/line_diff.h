// Which lines of a file's earlier version are still in it now, by the shortest
// edit between the two: what tells a line another program removed from one file
// of a pair from a line it changed or added.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace renkomi {

// For each line of `now`, the index of the line of `before` it is, or kAddedLine.
// The lines both versions start and end with are matched first, then the rest by
// the shortest edit; nothing when more than `maxEdits` lines were added or removed,
// since then the two are no longer one file edited.
inline constexpr std::size_t kAddedLine = static_cast<std::size_t>(-1);
std::optional<std::vector<std::size_t>> MatchLines(const std::vector<std::string>& before,
                                                   const std::vector<std::string>& now, std::size_t maxEdits);

}  // namespace renkomi
