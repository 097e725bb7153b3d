// Deadlines on a played clock: when a wait's time is up, and the time left it is given.
#include <gtest/gtest.h>

#include <chrono>

#include "base/Deadline.h"

namespace printset {
namespace {

using std::chrono::microseconds;

TEST(Deadline, EndsExactlyAtItsTimeAndNeverGivesAWaitLessThanIsLeft) {
  TPlayedClock clock;
  const TDeadline none(0);
  EXPECT_TRUE(none.Expired());
  EXPECT_EQ(none.MillisLeft(), 0u);

  const TDeadline deadline(200);
  struct TRow {
    microseconds Step;
    bool Expired;
    uint32_t MillisLeft;
  };
  const TRow rows[] = {
      {microseconds(0), false, 200},
      {microseconds(199'001), false, 1},  // 999 us left: a wait on whole milliseconds gets 1
      {microseconds(998), false, 1},      // 1 us left
      {microseconds(1), true, 0},         // at the deadline
      {microseconds(5'000), true, 0},
  };
  for (const TRow& row : rows) {
    clock.Advance(row.Step);
    EXPECT_EQ(deadline.Expired(), row.Expired) << row.Step.count();
    EXPECT_EQ(deadline.MillisLeft(), row.MillisLeft);
  }
}

}  // namespace
}  // namespace printset
