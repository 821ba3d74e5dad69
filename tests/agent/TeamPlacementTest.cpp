// The warning of a player that the server never placed in a team.
#include <gtest/gtest.h>

#include <string>

#include "../support/ServerText.h"

namespace {

TEST(TeamPlacementTest, WarnsOnceWhenTheFirstSecondNamesNoNumberAndSide) {
  const struct {
    int placed_at;  // the message that names number and side; 0: none
    int warnings_by_49, warnings_by_120;
  } kCases[] = {{0, 0, 1}, {2, 0, 0}, {50, 0, 0}, {51, 0, 1}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.placed_at);
    TestAgent agent(8, "Alpha", true);
    ServerText m;
    std::string before, after;
    for (int i = 1; i <= 120; ++i) {
      m.unum = i == c.placed_at ? 8 : 0;
      m.side = i == c.placed_at ? "left" : "";
      if (i == 1 || i == 50) ::testing::internal::CaptureStderr();
      agent.Run(m.Text());
      if (i == 49) before = ::testing::internal::GetCapturedStderr();
    }
    after = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(CountOf(before, "has not placed"), c.warnings_by_49);
    EXPECT_EQ(CountOf(after, "has not placed"), c.warnings_by_120);
    if (c.warnings_by_120 > 0) {
      EXPECT_NE(after.find("(number 8, team Alpha)"), std::string::npos) << after;
      EXPECT_NE(after.find("robot type"), std::string::npos) << after;
      EXPECT_EQ(CountOf(after, "\n"), 1) << after;
    }
  }
}

}  // namespace
