// Self-localisation on the real server's vision of a standing robot.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

#include "../support/ServerStreams.h"
#include "../support/ServerText.h"
#include "coordinate/AbsoluteCoordinate.h"

namespace {

TEST(RecordedLocalisationTest, OwnEstimateSettlesNearTheBeamedPositionOnceTheHeadingIsCorrected) {
  // The recording: team "Alpha", number 1, left side, beamed to (-4, 2) with
  // rotation 0 in the server's frame; the beam noise left the robot near
  // (-3.9, 1.95), facing about 3.6 degrees to the left (its landmark
  // bearings show it). It never moved. Line 65 brought the kick-off, from
  // which on the estimates run.
  //
  // Frames. The server's frame has x along the field, the left team's goal
  // at x = -15; the estimate's field frame has the corner flags at x = +-10,
  // y = +-15 with the opponent's goal at y = -15. Matching the landmark
  // tables (F1R: server (15, 10), field (-10, -15); F2R: (15, -10) and
  // (10, -15); F1L: (-15, 10) and (-10, 15)) gives, for the left side,
  //   field x = -server y,   field y = -server x.
  const Eigen::Vector2d truth(-1.95, 3.9);

  // Taking its heading from the beam (0), the player would put itself
  // D tan(3.6 degrees) = 1.2 m across its line of sight to the landmarks
  // D = 18.9 m ahead. Walking (in its belief: the recorded robot stands),
  // it corrects the heading from pairs of landmarks in every message with
  // vision, and its estimate settles within half a metre of the truth.
  ResetProcessWideState();
  const std::vector<std::string> lines = streams::Recorded();
  ASSERT_EQ(lines.size(), 301u);
  TestAgent agent(1, "Alpha", true);
  const CommonInformation& ci = Board();

  double sum = 0, worst = 0;
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
    sum += err;
    worst = std::max(worst, err);
    ++n;
  }
  ASSERT_GT(n, 100);
  std::cout << "recorded session, settled (" << n << " messages): mean error " << sum / n
            << " m, worst " << worst << " m, believed heading " << ci.total_.z() << std::endl;
  // The heading turned to the left of the beam's, by about 3.6 degrees.
  EXPECT_NEAR(ci.total_.z(), -3.6, 1.0);
}

}  // namespace
