// The real server's messages to a standing robot, replayed through the cycle:
// the position the robot finds for itself.
#include <gtest/gtest.h>

#include "../support/ServerStreams.h"
#include "../support/ServerText.h"

namespace {

TEST(ReplayTest, OwnEstimateSettlesNearTheBeamedPositionOnceTheHeadingIsCorrected) {
  // The recorded robot (team "Alpha", number 1, left side) was beamed to
  // (-4, 2) of the server's frame; the beam's noise left it near (-3.9, 1.95),
  // turned about 3.6 degrees to the left, and it never moved. The estimate's
  // frame has field x = -server y and field y = -server x for the left side.
  // Walking in its belief, the player corrects its heading from landmark
  // pairs and settles within half a metre of the truth.
  const Eigen::Vector2d truth(-1.95, 3.9);
  const std::vector<std::string> lines = streams::Recorded();
  ASSERT_EQ(lines.size(), 301u);
  TestAgent agent(1, "Alpha", true);
  const CommonInformation& ci = agent.GetBlackboard();

  int n = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    if (line >= 65) agent.SetBehavior(Agent::WALK);
    agent.Run(lines[i]);
    if (line < 65) {
      EXPECT_TRUE(ci.abs_->cod_.isZero()) << "line " << line;  // waits for the kick-off
      continue;
    }
    if (line < 165) continue;  // settled after the first hundred messages of play
    const double err = (ci.abs_->cod_.head<2>() - truth).norm();
    EXPECT_LT(err, 0.5) << "line " << line;
    ++n;
  }
  ASSERT_GT(n, 100);
  // The heading turned to the left of the beam's, by about 3.6 degrees.
  EXPECT_NEAR(ci.total_.z(), -3.6, 1.0);
}

}  // namespace
