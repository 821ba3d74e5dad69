// Each motion engine through its own entry, with the joints held at 0 (or
// at a posture) so that every command is (target - angle) * gain by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "agent/head/HeadEngine.h"
#include "agent/kick/KickEngine.h"
#include "agent/kick/KickOffEngine.h"
#include "agent/posture/PostureEngine.h"
#include "agent/standup/StandUpEngine.h"
#include "agent/walking/WalkEngine.h"
#include "object/Ball.h"

namespace {

// A seed whose first draw is odd (odd = towards the positive end) or even.
unsigned SeedDrawing(bool odd) {
  for (unsigned s = 1;; ++s) {
    std::srand(s);
    if ((std::rand() % 2 == 1) == odd) return s;
  }
}

TEST(HeadEngineTest, TheSweepChoosesADirectionFirstAndTurnsRoundAtItsEnds) {
  const struct {
    JointId joint;
    bool towards_positive;
    double angle, command;  // joint angle before the step, command of the step
    bool flips;
  } cases[] = {
      {kHj1, true, 100, 10, false},       {kHj1, true, 119.5, 0.25, true},
      {kHj1, false, -119.5, -0.25, true}, {kHj1, false, -119, -0.5, false},
      {kHj2, true, 44.5, 0.025, true},    {kHj2, false, -44.5, -0.025, true},
      {kHj2, false, 0, -2.25, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.joint << " " << c.angle);
    HeadEngine head;
    JointAngles q{};
    JointRequest out;
    const bool pan = c.joint == kHj1;
    auto step = [&] { pan ? head.SearchObjectH(q, &out) : head.SearchObjectV(q, &out); };
    auto positive = [&] {
      return pan ? head.GetFinding().GetHorizon() == Finding::LEFT : head.GetFinding().GetVertical() == Finding::UP;
    };
    // First call: only the direction, drawn from the process's generator.
    std::srand(SeedDrawing(c.towards_positive));
    step();
    EXPECT_TRUE(out.Empty());
    ASSERT_EQ(positive(), c.towards_positive);
    q[c.joint] = c.angle;
    step();
    EXPECT_NEAR(out.Speed(c.joint), c.command, 1e-9);
    EXPECT_EQ(positive(), c.towards_positive != c.flips);
  }
}

TEST(WalkEngineTest, SpeedRisesByStepsToExactlyFullSpeed) {
  WalkEngine walk;
  const JointAngles q{};
  JointRequest out;
  WalkCommand command;
  command.speed = 1;
  for (int i = 1; i <= 40; ++i) {
    walk.Update({command, &q}, &out);
    EXPECT_NEAR(walk.CurrentSpeed(), std::min(1.0, 0.03 * i), 1e-9) << i;
  }
  EXPECT_EQ(walk.CurrentSpeed(), 1.0);
  walk.Halt();
  EXPECT_EQ(walk.GetFootXWeight().GetValue(), 0.0);
  EXPECT_EQ(walk.CurrentSpeed(), 1.0);  // what the last step walked with

  // A speed limit, and a restart from a standstill.
  WalkParams slow;
  slow.max_speed = 0.5;
  WalkEngine limited(slow);
  for (int i = 1; i <= 20; ++i) limited.Update({command, &q}, &out);
  EXPECT_EQ(limited.CurrentSpeed(), 0.5);
  limited.Restart();
  limited.Update({command, &q}, &out);
  EXPECT_NEAR(limited.CurrentSpeed(), 0.03, 1e-12);
}

// Standing in place (speed 0) at full curve or full side command: over one
// loop of six points the hip yaw-pitch turns by -30 degrees (gain 0.1713)
// in the first half of the loop when turning left (+) and in the second
// half when turning right; the hip roll is +16 degrees (gain 0.15) in the
// first half and -12 in the second when stepping left, mirrored when
// stepping right. The other hip and the ankles take the roll with the
// signs of a parallel leg.
TEST(WalkEngineTest, TurningAndSideStepsChangeSidesAtTheHalfLoop) {
  const double kYaw = -30 * 0.1713, kLead = 16 * 0.15, kTrail = -12 * 0.15;
  const struct {
    double curve, direction;
    double yaw[2], roll[2];  // llj1 and llj2 commands in the first and second half
  } kCases[] = {
      {1, 0, {kYaw, 0}, {0, 0}},
      {-1, 0, {0, kYaw}, {0, 0}},
      {0, 1, {0, 0}, {kLead, kTrail}},
      {0, -1, {0, 0}, {kTrail, kLead}},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << "curve " << c.curve << " direction " << c.direction);
    WalkEngine walk;
    const JointAngles q{};
    JointRequest out;
    WalkCommand command;
    command.curve = c.curve;
    command.direction = c.direction;
    // 60 cycles (ten loops) bring both smoothed commands to full. The loop
    // stands at its second point: the engine took the first when it was made.
    for (int i = 0; i < 60; ++i) walk.Update({command, &q}, &out);
    for (int i = 0; i < 6; ++i) {
      out.Clear();
      walk.Update({command, &q}, &out);
      const int half = (i + 1) % 6 < 3 ? 0 : 1;
      SCOPED_TRACE(i);
      EXPECT_NEAR(out.Speed(kLlj1), c.yaw[half], 1e-12);
      EXPECT_NEAR(out.Speed(kRlj1), c.yaw[half], 1e-12);
      EXPECT_NEAR(out.Speed(kLlj2), c.roll[half], 1e-12);
      EXPECT_NEAR(out.Speed(kRlj6), c.roll[half], 1e-12);
      EXPECT_NEAR(out.Speed(kLlj6), -c.roll[half], 1e-12);
      EXPECT_NEAR(out.Speed(kRlj2), -c.roll[half], 1e-12);
    }
  }
}

// Settling, then the way up by where the feet press, to the end of the
// crouch: from the back (heels, or feet in the air) the 58-cycle keyframe
// motion, from the front the two hip and knee stages. The crouch's counter
// goes on from where the way up from the back left it (2 on the feet, 1 in
// the air), so that crouch is shorter than the 12 cycles after the front.
TEST(StandUpEngineTest, TheWayUpAndItsLengthDependOnHowTheRobotLies) {
  const struct {
    bool both_feet;
    double zmp_y;
    StandingUp::Stage way;
    int settle, cycles;  // cycles to leave settling, cycles to complete
  } kCases[] = {
      {true, -0.01, StandingUp::UP1, 12, 12 + 58 + 10},
      {true, 0.0, StandingUp::UP1, 12, 12 + 58 + 10},
      {true, 0.01, StandingUp::DOWN1, 12, 12 + 50 + 17 + 12},
      {false, 0.01, StandingUp::UP1, 32, 32 + 58 + 11},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::Message() << c.both_feet << " " << c.zmp_y);
    StandUpEngine engine;
    const JointAngles q{};
    JointRequest out;
    int n = 0;
    while (!engine.Complete() && n < 500) {
      engine.Update({&q, c.both_feet, c.zmp_y}, &out);
      ++n;
      if (n == c.settle - 1) {
        EXPECT_EQ(engine.Progress().stage, StandingUp::READY);
      }
      if (n == c.settle) {
        EXPECT_EQ(engine.Progress().stage, c.way);
      }
    }
    EXPECT_EQ(n, c.cycles);
    EXPECT_EQ(engine.Progress().stage, StandingUp::READY);
    // The last cycle drove the crouch: hips 25 degrees at gain 0.1.
    EXPECT_NEAR(out.Speed(kRlj3), 2.5, 1e-12);
    EXPECT_NEAR(out.Speed(kLlj4), -8.0, 1e-12);
  }
}

TEST(StandUpEngineTest, AFallIsAnImpactOrACentreOfPressureFarOut) {
  const struct {
    Eigen::Vector3d acc;
    Eigen::Vector2d zmp;
    bool falls;
  } kCases[] = {
      {{30, -10.01, 9.81}, {0, 0}, true}, {{30, -10, 9.81}, {0, 0}, false},
      {{0, 0, 9.81}, {0.6, 0.61}, true},  {{0, 0, 9.81}, {0.85, 0}, false},
  };
  StandUpEngine engine;
  for (const auto& c : kCases) EXPECT_EQ(engine.JudgeFallingDown(c.acc, c.zmp), c.falls) << c.acc.transpose();
}

// A ball ahead and a little to one side: the kick takes aim (1 cycle),
// crouches (22), shifts the weight onto the other leg (21), sets the
// kicking leg (4) and strikes (7), done in the 55th cycle; the strike
// drives the kicking hip.
TEST(KickEngineTest, TheKickStrikesWithTheLegOnTheBallsSide) {
  for (double h_angle : {10.0, -10.0}) {
    SCOPED_TRACE(h_angle);
    KickEngine kick;
    const JointAngles q{};
    JointRequest out;
    Ball ball;
    ball.SetVisible(true);
    ball.SetDistance(0.2);
    ball.h_angle = h_angle;
    const JointId kicking_hip = h_angle > 0 ? kLlj3 : kRlj3;
    KickEngine::Status status = KickEngine::kRunning;
    int n = 0;
    double strike = 0.0;
    while (status != KickEngine::kDone && n < 200) {
      out.Clear();
      status = kick.Update({&q, &ball, 0.0, 7.0}, &out);
      ++n;
      if (n == 50) strike = out.Speed(kicking_hip);
    }
    EXPECT_EQ(n, 55);
    EXPECT_NEAR(strike, 80 * M_PI / 180 * 99999, 1e-6);
    EXPECT_EQ(kick.GetKick().last_comp_time_, 7.0);
  }
  KickEngine waiting;
  const JointAngles q{};
  JointRequest out;
  Ball unseen;
  EXPECT_EQ(waiting.Update({&q, &unseen, 0.0, 0.0}, &out), KickEngine::kLookingForBall);
  EXPECT_TRUE(out.Empty());
}

// In its posture, the kick-off taker plays the shot: 138 cycles to the
// strike; a restart plays it from its beginning. (The wait through the
// opponent's kick-off: AgentCycleTest.)
TEST(KickOffEngineTest, ThePostureThenTheShotOrTheWaitForPlay) {
  KickOffEngine engine;
  JointAngles q{};
  JointRequest out;
  EXPECT_FALSE(engine.Update({&q, true, false}, &out));
  EXPECT_EQ(engine.GetKickOffStep(), 0);
  EXPECT_NEAR(out.Speed(kLlj4), -50 * 0.05, 1e-12);
  for (int j = 0; j < kJointCount; ++j) q[j] = engine.Params().posture[j];
  engine.Update({&q, true, false}, &out);
  ASSERT_EQ(engine.GetKickOffStep(), 1);
  for (int n = 1; n <= 138; ++n) {
    EXPECT_FALSE(engine.Update({&q, true, false}, &out));
    if (n == 6) {
      EXPECT_EQ(engine.Progress().stage, 1);
    }
    if (n == 137) {
      EXPECT_EQ(engine.Progress().stage, 6);
    }
  }
  EXPECT_EQ(engine.Progress().stage, 7);
  engine.Restart();
  engine.Update({&q, true, false}, &out);  // the posture again
  engine.Update({&q, true, false}, &out);
  EXPECT_EQ(engine.Progress().stage, 0);
  EXPECT_EQ(engine.Progress().t, 1);
}

TEST(PostureEngineTest, ReadyOnceArmsAndLegsAreWithinAFifthOfADegree) {
  PostureEngine posture;
  JointAngles q{};
  JointRequest out;
  EXPECT_FALSE(posture.Update(q, &out));
  EXPECT_NEAR(out.Speed(kLaj1), -15.0, 1e-12);
  EXPECT_FALSE(out.Has(kHj1));  // the head is free
  for (int j = kLaj1; j < kJointCount; ++j) q[j] = posture.Params().ready[j] + 0.2;
  q[kHj1] = 50;
  out.Clear();
  EXPECT_TRUE(posture.Update(q, &out));
  EXPECT_TRUE(out.Empty());
  q[kRlj6] += 0.01;
  EXPECT_FALSE(posture.Update(q, &out));
}

}  // namespace
