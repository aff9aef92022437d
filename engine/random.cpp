#include "random.h"

#include <ctime>

namespace renkomi {

void Random::SeedRandom() { state_ = MillisecondsSinceUtcMidnight(); }

std::uint32_t Random::RandomBelow(std::uint32_t n) {
  state_ = state_ * 134775813u + 1u;  // unsigned arithmetic wraps modulo 2^32
  return static_cast<std::uint32_t>((static_cast<std::uint64_t>(state_) * n) >> 32);
}

std::uint32_t Random::MillisecondsSinceUtcMidnight() {
  timespec now{};
  clock_gettime(CLOCK_REALTIME, &now);
  const auto secondsToday = static_cast<std::uint64_t>(now.tv_sec) % 86400u;
  return static_cast<std::uint32_t>(secondsToday * 1000u +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1000000u);
}

}  // namespace renkomi
