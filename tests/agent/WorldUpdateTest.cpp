// The world update of the cycle: which estimates move, and when.
#include <gtest/gtest.h>

#include "../support/ServerText.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "object/Ball.h"
#include "object/Player.h"

namespace {

class WorldUpdateTest : public ::testing::Test {
protected:

  // A ball seen 2 m away at the given direction relative to the torso, half
  // a second after the last vision.
  void SeeBall(TestAgent& agent, double h_abyss) {
    CommonInformation& ci = agent.GetBlackboard();
    agent.Vision().see = true;
    Ball& b = *ci.ball_;
    b.visible = true;
    b.distance = 2.0;
    b.h_abyss = h_abyss;
    b.v_abyss = 0.0;
    ci.br_.game_time = 0.5;
  }
};

TEST_F(WorldUpdateTest, BallSpeedCountsOnlyWhenWalkingTowardsIt) {
  struct Case {
    Agent::Behavior beh;
    double h;
    bool speed_kept;
  } cases[] = {{Agent::WALK, 10, true}, {Agent::WALK, -40, true}, {Agent::WALK, 50, false},
               {Agent::READY, 0, false}, {Agent::WAIT, 0, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.beh << " " << c.h);
    TestAgent agent(3);
    agent.SetBehavior(c.beh);
    SeeBall(agent, c.h);
    agent.UpdateCoordinate();
    const AbsoluteCoordinate& ball = *agent.GetBlackboard().ball_abs_;
    EXPECT_GT(ball.cod_.norm(), 1e-3);  // the position follows the sighting
    EXPECT_EQ(ball.speed_ > 0.0, c.speed_kept);
    if (!c.speed_kept) {
      EXPECT_EQ(ball.acc_, 0.0);
    }
  }
}

TEST_F(WorldUpdateTest, UnseenBallKeepsItsPlaceAndHasNoSpeed) {
  TestAgent agent(3);
  AbsoluteCoordinate& ball = *agent.GetBlackboard().ball_abs_;
  ball.cod_ = Eigen::Vector3d(1, 2, 0);
  ball.abspeed_ = Eigen::Vector3d(1, 0, 0);
  ball.speed_ = 4;
  ball.acc_ = 3;
  agent.Vision().see = true;
  agent.GetBlackboard().ball_->visible = false;
  agent.UpdateCoordinate();
  EXPECT_EQ(ball.cod_, Eigen::Vector3d(1, 2, 0));
  EXPECT_EQ(ball.speed_, 0.0);
  EXPECT_EQ(ball.acc_, 0.0);
}

TEST_F(WorldUpdateTest, PlayerSlotsAreNumberedOnFirstSight) {
  TestAgent agent(3);
  agent.GetBlackboard().enemy_[4]->ID = 9;
  agent.UpdateObjects();
  EXPECT_EQ(agent.GetBlackboard().friend_[4]->ID, 4);
  EXPECT_EQ(agent.GetBlackboard().enemy_[11]->ID, 11);
  EXPECT_EQ(agent.GetBlackboard().enemy_[4]->ID, 9);  // a number once given stays
  EXPECT_EQ(agent.GetBlackboard().friend_[0]->ID, 0);
}

TEST_F(WorldUpdateTest, EstimatesRestBeforeTheKickOffAndWhileStandingUp) {
  const char kVision[] =
      "(G1R (pol 10.00 5.00 0.10)) (G2R (pol 10.00 -5.00 0.10)) (B (pol 2.00 3.00 -20.00)) "
      "(P (team Beta) (id 4) (head (pol 4.00 10.00 1.00)))";
  TestAgent agent(3);
  ServerText m;
  m.side = "left";
  m.see = kVision;
  agent.Run(m.Text());
  m.side.clear();
  EXPECT_TRUE(agent.GetBlackboard().abs_->cod_.isZero());
  EXPECT_TRUE(agent.GetBlackboard().ball_abs_->cod_.isZero());

  m.playmode = "PlayOn";
  agent.SetBehavior(Agent::STANDUP);
  agent.Run(m.Text());
  EXPECT_TRUE(agent.GetBlackboard().abs_->cod_.isZero());
  EXPECT_TRUE(agent.GetBlackboard().enemy_[4]->head_abs_.cod_.isZero());
  EXPECT_NE(agent.GetBlackboard().ball_->h_abyss, 0.0);  // directions still follow the vision

  agent.SetBehavior(Agent::READY);
  agent.Run(m.Text());
  EXPECT_FALSE(agent.GetBlackboard().abs_->cod_.isZero());
  EXPECT_FALSE(agent.GetBlackboard().ball_abs_->cod_.isZero());
  EXPECT_FALSE(agent.GetBlackboard().enemy_[4]->head_abs_.cod_.isZero());
  EXPECT_TRUE(agent.GetBlackboard().enemy_[4]->lfoot_abs_.cod_.isZero());  // never seen
}

}  // namespace
