// The open-play kick is given up, and the robot made ready again, when the
// ball gets away: further than 0.26 m on the ground, or more than 15 degrees
// to the side.
#include <gtest/gtest.h>

#include "../support/ServerText.h"
#include "object/Ball.h"

namespace {

TEST(KickTest, AKickIsAbandonedWhenTheBallEscapes) {
  const struct {
    double distance, v_abyss, h_abyss;
    bool escaped;
  } cases[] = {{0.25, 0, 0, false}, {0.27, 0, 0, true}, {0.3, 30, 0, false},
               {0.2, 0, 14.5, false}, {0.2, 0, 15.5, true}, {0.2, 0, -15.5, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.distance << " " << c.v_abyss << " " << c.h_abyss);
    TestAgent agent(2);
    agent.SetBehavior(Agent::KICK);
    Ball& ball = *agent.GetBlackboard().ball_;
    ball.SetVisible(true);
    ball.SetDistance(c.distance);
    ball.v_abyss = c.v_abyss;
    ball.h_abyss = c.h_abyss;
    agent.GetBlackboard().br_.game_time = 7.5;
    agent.SelectBehavior();
    EXPECT_EQ(agent.GetBehavior(), c.escaped ? Agent::READY : Agent::KICK);
    EXPECT_EQ(agent.GetKick().GetKick().mistake_time_, c.escaped ? 7.5 : 0.0);
  }
}

}  // namespace
