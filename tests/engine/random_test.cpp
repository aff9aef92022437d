#include "random.h"

#include <gtest/gtest.h>

#include "test_support.h"

#include <ctime>

#include "match.h"

namespace renkomi {
namespace {

using test::PrintTo;

// Draws from a known state, worked out by hand from
// state' = state * 134775813 + 1 (mod 2^32), result = state' * n >> 32.
TEST(RandomTest, DrawsFromAKnownSeed) {
  Random random(12345);
  EXPECT_EQ(random.RandomBelow(100), 38u);
  EXPECT_EQ(random.State(), 1655067934u);
  EXPECT_EQ(random.RandomBelow(100), 28u);
  EXPECT_EQ(random.RandomBelow(100), 7u);
  // n = 0 and n = 1 give 0 and still advance the state.
  EXPECT_EQ(random.RandomBelow(0), 0u);
  EXPECT_EQ(random.State(), 2377737157u);
  EXPECT_EQ(random.RandomBelow(1), 0u);
  EXPECT_EQ(random.State(), 2721613530u);
  EXPECT_EQ(random.RandomBelow(0xFFFFFFFFu), 1467157058u);
  EXPECT_EQ(random.RandomBelow(7), 3u);
  EXPECT_EQ(random.State(), 1889648464u);
}

TEST(RandomTest, StateWrapsAt32Bits) {
  Random random(0xFFFFFFFFu);
  random.RandomBelow(2);
  EXPECT_EQ(random.State(), static_cast<std::uint32_t>(0xFFFFFFFFull * 134775813ull + 1ull));
  random.SetState(0);
  EXPECT_EQ(random.RandomBelow(10), 0u);  // state 1 is tiny: 1 * 10 >> 32
  EXPECT_EQ(random.State(), 1u);
}

TEST(RandomTest, SeedIsTheUtcTimeOfDayInMilliseconds) {
  const std::time_t before = std::time(nullptr);
  Random random(0);
  random.SeedRandom();
  const std::time_t after = std::time(nullptr);
  const auto secondsToday = [](std::time_t t) { return static_cast<std::uint32_t>(t % 86400); };
  EXPECT_LT(random.State(), 86400000u);
  const std::uint32_t second = random.State() / 1000;
  EXPECT_TRUE(second == secondsToday(before) || second == secondsToday(after))
      << random.State() << " vs " << secondsToday(before);
}

struct GaugeRow {
  std::size_t n;
  int gauge;
};

void PrintTo(const GaugeRow& row, std::ostream* os) { *os << "n=" << row.n; }

class DamageGaugeTest : public testing::TestWithParam<GaugeRow> {};

TEST_P(DamageGaugeTest, Table) { EXPECT_EQ(DamageGauge(GetParam().n), GetParam().gauge); }

INSTANTIATE_TEST_SUITE_P(
    Table, DamageGaugeTest,
    // Only the ends: NearestWithHalvesToEvenForEveryN pins every n from 2 to 10000.
    testing::Values(GaugeRow{0, 100}, GaugeRow{1, 99}, GaugeRow{10001, 1}, GaugeRow{110000, 1}),
    [](const auto& info) { return "n" + std::to_string(info.param.n); });

// Every n from 2 to 10000 against exact integer arithmetic: g is right when
// g - 1/2 <= 100/sqrt(n) <= g + 1/2, i.e. (2g-1)^2 n <= 40000 <= (2g+1)^2 n, and
// on an exact half g is even.
TEST(DamageGaugeTest, NearestWithHalvesToEvenForEveryN) {
  for (std::uint64_t n = 2; n <= 10000; ++n) {
    const auto g = static_cast<std::uint64_t>(DamageGauge(n));
    const std::uint64_t low = (2 * g - 1) * (2 * g - 1) * n;
    const std::uint64_t high = (2 * g + 1) * (2 * g + 1) * n;
    ASSERT_LE(low, 40000u) << "n=" << n << " gauge=" << g;
    ASSERT_GE(high, 40000u) << "n=" << n << " gauge=" << g;
    if (low == 40000u || high == 40000u) {
      EXPECT_EQ(g % 2, 0u) << "n=" << n;
    }
  }
}

}  // namespace
}  // namespace renkomi
