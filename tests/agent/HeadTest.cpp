// Head control and the walk's speed ramp: the turning points of the sweep,
// and the forward speed rising in steps to exactly full speed.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>

#include "../support/ServerText.h"
#include "agent/finding/Finding.h"
#include "agent/walking/Walking.h"

namespace {

// A seed whose first draw is odd (odd = towards the positive end) or even.
unsigned SeedDrawing(bool odd) {
  for (unsigned s = 1;; ++s) {
    std::srand(s);
    if ((std::rand() % 2 == 1) == odd) return s;
  }
}

TEST(HeadTest, TheSweepChoosesADirectionFirstAndTurnsRoundAtItsEnds) {
  const struct {
    const char* joint;
    bool towards_positive;
    double angle, command;  // joint angle before the step, command of the step
    bool flips;
  } cases[] = {
      {"hj1", true, 100, 10, false},       {"hj1", true, 119.5, 0.25, true},
      {"hj1", false, -119.5, -0.25, true}, {"hj1", false, -119, -0.5, false},
      {"hj2", true, 44.5, 0.025, true},    {"hj2", false, -44.5, -0.025, true},
      {"hj2", false, 0, -2.25, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.joint) + " " + std::to_string(c.angle));
    TestAgent agent(2);
    const bool pan = std::string(c.joint) == "hj1";
    auto step = [&] { pan ? agent.SearchObjectH() : agent.SearchObjectV(); };
    auto positive = [&] {
      return pan ? agent.GetFinding().GetHorizon() == Finding::LEFT
                 : agent.GetFinding().GetVertical() == Finding::UP;
    };
    // First call: only the direction, drawn from the agent's generator.
    std::srand(SeedDrawing(c.towards_positive));
    step();
    EXPECT_TRUE(agent.GetNextJoint().empty());
    ASSERT_EQ(positive(), c.towards_positive);
    agent.Joint(c.joint) = c.angle;
    step();
    EXPECT_NEAR(agent.GetNextJoint().at(c.joint), c.command, 1e-9);
    EXPECT_EQ(positive(), c.towards_positive != c.flips);
  }
}

TEST(HeadTest, WalkingSpeedRisesByStepsToExactlyFullSpeed) {
  TestAgent agent(2);
  agent.GetBlackboard().wk_->SettingParam(1, 0, 0, false);
  for (int i = 1; i <= 40; ++i) {
    agent.Walk();
    EXPECT_NEAR(agent.GetFootXWeight().GetValue(), std::min(1.0, 0.03 * i), 1e-9) << i;
  }
  EXPECT_EQ(agent.GetFootXWeight().GetValue(), 1.0);
}

}  // namespace
