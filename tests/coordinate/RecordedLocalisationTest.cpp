// Self-localisation on the real server's vision of a standing robot.
#include <gtest/gtest.h>

#include <cmath>
#include <iostream>

#include "../agent/RecordedSession.h"
#include "../agent/ServerText.h"
#include "coordinate/AbsoluteCoordinate.h"

namespace {

TEST(RecordedLocalisationTest, OwnEstimateSettlesNearTheBeamedPosition) {
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

  // The player cannot know its heading error yet: it takes its heading as
  // the beam's 0. Every landmark it sees lies on the opponent's goal line,
  // D = 15 - (-3.9) = 18.9 m ahead; turning all its sightings by the heading
  // error d shifts the estimate across the line of sight by about D tan(d)
  // (along the field x axis), while the distance to the line (field y)
  // stays. With d between 2.5 and 4.5 degrees that is 0.83 to 1.49 m;
  // measurement noise adds a few centimetres.
  const double D = 18.9;
  const double across_min = D * std::tan(2.5 * M_PI / 180) - 0.1;
  const double across_max = D * std::tan(4.5 * M_PI / 180) + 0.1;
  const double along_max = 0.15;

  ResetProcessWideState();
  const std::vector<std::string> lines = RecordedSession();
  ASSERT_EQ(lines.size(), 301u);
  TestAgent agent(1, "Alpha", true);
  const CommonInformation& ci = Singleton<CommonInformation>::Get();

  double sum = 0, worst = 0;
  int n = 0;
  for (size_t i = 1; i < lines.size(); ++i) {
    agent.Run(lines[i]);
    const int line = static_cast<int>(i) + 1;
    if (line < 65) {
      EXPECT_TRUE(ci.abs_->cod_.isZero()) << "line " << line;  // waits for the kick-off
      continue;
    }
    // Settled after the first hundred messages of play.
    if (line < 165) continue;
    const Eigen::Vector2d est = ci.abs_->cod_.head<2>();
    const double across = est.x() - truth.x();
    EXPECT_LT(std::fabs(est.y() - truth.y()), along_max) << "line " << line;
    // The robot faces left of the beam's heading, so the estimate lies to
    // the field's -x side of the truth.
    EXPECT_LT(across, -across_min) << "line " << line;
    EXPECT_GT(across, -across_max) << "line " << line;
    const double err = (est - truth).norm();
    sum += err;
    worst = std::max(worst, err);
    ++n;
  }
  ASSERT_GT(n, 100);
  std::cout << "recorded session, settled (" << n << " messages): mean error " << sum / n
            << " m, worst " << worst << " m" << std::endl;
  EXPECT_LT(ci.abs_->abspeed_.norm(), 0.05);  // standing still
}

}  // namespace
