// Head control: the sweep, tracking the ball, and the heading from landmarks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

#include "../support/ServerText.h"
#include "agent/finding/Finding.h"
#include "object/Ball.h"

namespace {

class HeadTest : public ::testing::Test {
protected:
};

// A seed whose first draw is odd (odd = towards the positive end) or even.
unsigned SeedDrawing(bool odd) {
  for (unsigned s = 1;; ++s) {
    std::srand(s);
    if ((std::rand() % 2 == 1) == odd) return s;
  }
}

TEST_F(HeadTest, TheSweepChoosesADirectionFirstAndTurnsRoundAtItsEnds) {
  const struct {
    const char* joint;
    bool towards_positive;
    double angle, command;  // joint angle before the step, command of the step
    bool flips;
  } cases[] = {
      {"hj1", true, 100, 10, false},      {"hj1", true, 119.5, 0.25, true},
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

TEST_F(HeadTest, AVisibleBallIsTrackedAndEndsTheSweep) {
  TestAgent agent(2);
  Ball& ball = *agent.GetBlackboard().ball_;
  std::srand(1);
  EXPECT_FALSE(agent.KeepSeeingBall());  // not seen: the sweep starts
  EXPECT_NE(agent.GetFinding().GetHorizon(), Finding::NONE_H);
  ball.SetVisible(true);
  ball.SetHorizonAngle(20);
  ball.SetVerticalAngle(-10);
  agent.Joint("hj2") = -4;
  EXPECT_TRUE(agent.KeepSeeingBall());
  EXPECT_NEAR(agent.GetNextJoint().at("hj1"), 2.0, 1e-9);
  EXPECT_NEAR(agent.GetNextJoint().at("hj2"), -0.6, 1e-9);
  EXPECT_EQ(agent.GetFinding().GetHorizon(), Finding::NONE_H);
  EXPECT_EQ(agent.GetFinding().GetVertical(), Finding::NONE_V);
}

// Sightings of the eight landmarks (field frame, as the estimates use it)
// from (x, y) with yaw `yaw`, the head straight.
void See(TestAgent& agent, double x, double y, double yaw, const std::vector<int>& visible) {
  static const double kAt[8][2] = {{-10, -15}, {10, -15}, {-10, 15}, {10, 15},
                                   {-1.05, -15}, {1.05, -15}, {-1.05, 15}, {1.05, 15}};
  CommonInformation& ci = agent.GetBlackboard();
  for (int i = 0; i < 8; ++i) ci.flag_[i]->SetVisible(false);
  for (int i : visible) {
    Object& f = *ci.flag_[i];
    const double dx = x - kAt[i][0], dy = y - kAt[i][1];
    f.SetVisible(true);
    f.SetDistance(std::hypot(dx, dy));
    f.SetHorizonAngle(yaw + std::atan2(dx, dy) * 180 / M_PI);
    f.SetVerticalAngle(0);
  }
  agent.Vision().see = true;
}

TEST_F(HeadTest, LandmarkPairsPullTheBelievedHeadingTowardsTheTrueOne) {
  const struct {
    std::vector<int> visible;
    double believed, corrected;  // true yaw 4 degrees
    bool changed;
  } cases[] = {
      {{0, 1}, -2, 1, true},                 // one pair: halfway
      {{0, 1, 4, 5}, -2, 4 - 6.0 / 7, true},  // six pairs on the goal line
      {{2, 3, 0, 1}, 10, 4 + 6.0 / 5, true},  // both goal lines and both side lines
      {{0, 3}, -2, -2, false},               // no pair
  };
  TestAgent agent(2);
  CommonInformation& ci = agent.GetBlackboard();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.believed);
    See(agent, -3, 4, 4, c.visible);
    ci.total_ = Eigen::Vector3d(1, 2, c.believed);
    EXPECT_EQ(agent.ReVision(), c.changed);
    EXPECT_NEAR(ci.total_.z(), c.corrected, 0.02);
    EXPECT_EQ(ci.total_.head<2>(), Eigen::Vector2d(1, 2));
  }
  agent.Vision().see = false;  // no vision in this message
  EXPECT_FALSE(agent.ReVision());
}

}  // namespace
