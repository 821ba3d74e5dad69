// The player's kick on the practice field: a number-12 player, in-process,
// kicks a ball placed in front of it.
#include <gtest/gtest.h>

#include "../support/ServerText.h"
#include "SimTestSupport.h"

namespace {

TEST(SimKickTest, ThePlayersKickSendsTheBallOff) {
  World w(simtest::Quiet());
  const int id = simtest::Join(w, "Kick", 5, 0);
  TestAgent agent(12);  // the number that always kicks
  auto cycles = [&](int n) {
    for (int i = 0; i < n; ++i) {
      w.ApplyCommands(id, agent.Run(w.Perceive(id)));
      w.Step();

    }
  };
  cycles(50);  // beamed to (-2.5, 0), facing the opponent's goal
  const RobotSnapshot start = w.Snapshot().robots.at(0);
  ASSERT_NEAR(start.x, -2.5, 0.05);
  // The head looks down at the feet (a kicker finds the ball there), then
  // the ball is put 0.2 m in front of the torso, a little to its left.
  for (int i = 0; i < 7; ++i) {
    w.ApplyCommands(id, "(he2 -4)");
    w.Step();
    w.Perceive(id);
  }
  const double bx = start.x + 0.2, by = start.y + 0.02;
  ASSERT_TRUE(w.TrainerCommand("(ball (pos " + std::to_string(bx) + " " + std::to_string(by) + " 0.042))"));
  ASSERT_TRUE(w.TrainerCommand("(playMode PlayOn)"));
  cycles(150);
  const WorldSnapshot end = w.Snapshot();
  std::cout << "ball from (" << bx << ", " << by << ") to (" << end.ball_pos.x() << ", "
            << end.ball_pos.y() << ")" << std::endl;
  // Forwards, by metres. The ball leaves the kick's reach while the leg
  // still fires, so the kick ends as abandoned rather than completed.
  EXPECT_GT(end.ball_pos.x() - bx, 2.0);
  EXPECT_GT(agent.GetKick().mistake_time_, 0.0);
}

}  // namespace
