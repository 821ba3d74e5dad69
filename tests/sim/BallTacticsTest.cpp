// The ball-playing tactics on the practice field: three players of one
// team, in process, take the kick-off and move the ball towards the
// opponent's goal; the same seed plays the same match.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

#include "../support/ServerText.h"
#include "SimTestSupport.h"
#include "World.h"

namespace {

struct Outcome {
  double furthest = 0.0;  // the ball's largest x (server frame: their goal at x = +15)
  int goals = 0;
  Eigen::Vector3d end = Eigen::Vector3d::Zero();
};

Outcome Play(double seconds) {
  WorldConfig config = simtest::Quiet();
  config.kickoff_after = 1.0;
  World w(config);
  struct Member {
    int id;
    std::unique_ptr<Agent> agent;
  };
  std::vector<Member> team;
  for (int num : {2, 8, 9}) {
    team.push_back({simtest::Join(w, "Ball", num),
                    std::make_unique<Agent>(num, "Ball", false, Agent::kDefaultServerVersion,
                                            Tactics::kBall)});
  }
  std::srand(1);  // after the agents seeded it: the head's sweep draws from it
  Outcome out;
  for (int step = 0; step < seconds / 0.02; ++step) {
    for (Member& m : team) w.ApplyCommands(m.id, m.agent->Run(w.Perceive(m.id)));
    w.Step();
    out.furthest = std::max(out.furthest, w.Snapshot().ball_pos.x());
  }
  const WorldSnapshot s = w.Snapshot();
  out.goals = s.score_left;
  out.end = s.ball_pos;
  return out;
}

TEST(BallTacticsTest, TheTeamMovesTheBallTowardsTheOpponentsGoalTheSameWayEachTime) {
  const Outcome first = Play(60);
  EXPECT_GT(first.furthest, 5.0);  // metres from the centre spot
  const Outcome again = Play(60);
  EXPECT_EQ(again.furthest, first.furthest);
  EXPECT_EQ(again.goals, first.goals);
  EXPECT_EQ(again.end, first.end);
  std::cout << "furthest " << first.furthest << " m, goals " << first.goals << std::endl;
}

}  // namespace
