// The game's one random generator: a 32-bit linear congruential state seeded once
// from the time of day. Tests set the seed to make every draw known.
#pragma once

#include <cstdint>

namespace renkomi {

class Random {
 public:
  explicit Random(std::uint32_t state = 0) : state_(state) {}

  // Seeds from the UTC time of day in milliseconds since midnight.
  void SeedRandom();
  void SetState(std::uint32_t state) { state_ = state; }
  std::uint32_t State() const { return state_; }

  // An integer in [0, n): state = state * 134775813 + 1, result = (state * n) >> 32.
  std::uint32_t RandomBelow(std::uint32_t n);

  static std::uint32_t MillisecondsSinceUtcMidnight();

 private:
  std::uint32_t state_;
};

}  // namespace renkomi
