// The real server's messages to a standing robot, replayed through the cycle:
// the answers it expects, and the position the robot finds for itself.
#include <gtest/gtest.h>

#include <regex>

#include "../support/ServerStreams.h"
#include "../support/ServerText.h"

namespace {

const std::regex& AnswerShape() {
  // A say message: at most 20 printable characters, no space or parenthesis.
  static const std::regex shape(
      "(\\(say [!-'*-~]{1,20}\\))?"
      "(\\(beam [-0-9.e]+ [-0-9.e]+ [-0-9.e]+\\))?"
      "\\(he1 [-0-9.e+]+\\)\\(he2 [-0-9.e+]+\\)\\(lae1 [-0-9.e+]+\\)\\(lae2 [-0-9.e+]+\\)"
      "\\(lae3 [-0-9.e+]+\\)\\(lae4 [-0-9.e+]+\\)\\(rae1 [-0-9.e+]+\\)\\(rae2 [-0-9.e+]+\\)"
      "\\(rae3 [-0-9.e+]+\\)\\(rae4 [-0-9.e+]+\\)\\(lle1 [-0-9.e+]+\\)\\(lle2 [-0-9.e+]+\\)"
      "\\(lle3 [-0-9.e+]+\\)\\(lle4 [-0-9.e+]+\\)\\(lle5 [-0-9.e+]+\\)\\(lle6 [-0-9.e+]+\\)"
      "\\(rle1 [-0-9.e+]+\\)\\(rle2 [-0-9.e+]+\\)\\(rle3 [-0-9.e+]+\\)\\(rle4 [-0-9.e+]+\\)"
      "\\(rle5 [-0-9.e+]+\\)\\(rle6 [-0-9.e+]+\\)\\(syn\\)");
  return shape;
}

TEST(ReplayTest, RecordedSessionIsAnsweredAsTheServerExpects) {
  const std::vector<std::string> lines = streams::Recorded();
  ASSERT_EQ(lines.size(), 301u);
  TestAgent agent(1, "Alpha", true);
  const CommonInformation& ci = agent.GetBlackboard();

  // The first message answers the scene command and is not analysed.
  for (size_t i = 1; i < lines.size(); ++i) {
    const int line = static_cast<int>(i) + 1;
    const std::string answer = agent.Run(lines[i]);
    ASSERT_TRUE(std::regex_match(answer, AnswerShape())) << "line " << line << ": " << answer;

    // The side comes once, in line 3, and is kept.
    EXPECT_EQ(ci.br_.territory, line < 3 ? 'N' : 'L') << "line " << line;

    // Beams only before the kick-off, with a foot on the ground, in the
    // first fifteen cycles: the robot touched the ground from line 6 on.
    const bool beam = answer.rfind("(beam ", 0) == 0;
    const bool before_kickoff = lines[i].find("(pm BeforeKickOff)") != std::string::npos;
    const bool foot = lines[i].find("(FRP") != std::string::npos;
    EXPECT_EQ(beam, line >= 6 && line <= 16) << "line " << line;
    if (beam) {
      EXPECT_TRUE(before_kickoff && foot);
      EXPECT_EQ(answer.rfind("(beam -14.5 0 0)", 0), 0u);
    }
  }
  EXPECT_EQ(ci.br_.playmode, "PlayOn");
  EXPECT_EQ(ci.br_.prev_pm_, "KickOff_Left");
  EXPECT_GT(ci.br_.game_time, 0.0);
  EXPECT_EQ(ci.touching_leg_, 'B');  // last seen with both feet down
}

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
