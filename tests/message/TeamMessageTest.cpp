// Team messages: the encoding, the schedule, the decoder and the election.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <regex>
#include <string>
#include <vector>

#include "../support/ServerText.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "message/Hear.h"
#include "message/OriginalHear.h"
#include "message/Say.h"
#include "object/Ball.h"

namespace {

class TeamMessageTest : public ::testing::Test {
protected:
  // The encoder reads its numbers from this blackboard, as an agent's does.
  static void Watch(Say& say, CommonInformation& ci) {
    say.Watch(&ci.id_, ci.abs_, ci.ball_abs_, ci.friend_abs_, ci.ball_);
  }
};

bool ValidSay(const std::string& text) {
  static const std::regex say("[!-'*-~]{1,20}");
  return std::regex_match(text, say);
}

TEST_F(TeamMessageTest, EachPlayerSpeaksInItsTurnAndEveryTextIsAValidSayMessage) {
  const struct {
    bool original;
    size_t full_length;
    const char* prefix;
  } dialects[] = {{false, 13, "NEB_"}, {true, 17, "_"}};
  for (const auto& d : dialects) {
    SCOPED_TRACE(d.original);
    CommonInformation ci;
    ci.id_ = 3;
    // Far outside the field and the encodable range: still fixed widths.
    ci.abs_->cod_ = Eigen::Vector3d(-1000, 1000, 0);
    ci.ball_abs_->cod_ = Eigen::Vector3d(std::nan(""), -40, 0);
    ci.ball_->SetVisible(true);
    Say say(nullptr);
    Watch(say, ci);
    say.SetOriginalDialect(d.original);
    std::vector<int> full, ball;
    for (int call = 1; call <= 48; ++call) {
      const std::string text = say.SetSayingMsg(1e6, call == 47 ? 3 : 12);
      EXPECT_EQ(say.CheckMsgExisting(), !text.empty());
      if (text.empty()) continue;
      EXPECT_TRUE(ValidSay(d.prefix + text)) << text;
      if (text.size() == d.full_length) {
        full.push_back(call);
        EXPECT_EQ(text.substr(0, 4), "3Dkk");
        EXPECT_EQ(text.substr(8, 5), "00kkc");
      } else {
        EXPECT_EQ(text, "kk00");
        ball.push_back(call);
      }
    }
    EXPECT_EQ(full, (std::vector<int>{5, 6, 29, 30}));
    EXPECT_EQ(ball, (std::vector<int>{23, 24, 48}));  // not while getting up (47)
  }
}

// A heard expression as the real server writes it.
std::string Heard(const std::string& team, const std::string& text) {
  return "(time (now 1.00))(GS (t 5.00) (pm PlayOn))(hear " + team + " 5.00 -30.5 " + text + ")";
}

TEST_F(TeamMessageTest, AReportDecodedByATeammateGivesBackItsFields) {
  CommonInformation ci;
  ci.id_ = 7;
  ci.abs_->cod_ = Eigen::Vector3d(-3.14, 12.27, 0);
  Say say(nullptr);
  Watch(say, ci);
  for (int call = 1; call < 13; ++call) say.SetSayingMsg(2.57, 12);
  const std::string text = say.SetSayingMsg(2.57, 12);
  ASSERT_EQ(text.size(), 13u);

  Hear hear;
  hear.SetOwnTeam("Alpha");
  hear.SetHearingMsg(Heard("Alpha", "NEB_" + text), 2, "");
  EXPECT_TRUE(hear.CheckHearingMsg());
  EXPECT_NEAR(hear.ball_dis[7], 2.5, 1e-9);
  EXPECT_NEAR(hear.h_abs_x[7], -3.2, 1e-9);  // to the decimetre below
  EXPECT_NEAR(hear.h_abs_y[7], 12.2, 1e-9);
  EXPECT_EQ(hear.beh_[7], 2);
  EXPECT_FALSE(hear.can_see_[7]);  // code 12: the ball not in sight
}

TEST_F(TeamMessageTest, OnlyTheOwnTeamsDecodableReportsAreRead) {
  const struct {
    const char* message;
    bool read;
  } cases[] = {
      {"(hear Alpha 5.00 self NEB_2D14bjbjaibj3)", true},       // own message, heard back
      {"(hear Beta 5.00 12.0 NEB_2D14bjbjaibj3)", false},       // the other team's
      {"(hear 5.00 12.0 NEB_2D14bjbjaibj3)", true},             // an older server: no team
      {"(hear Alpha 5.00 12.0 NEB2D14bjbjaibj3)", false},       // no prefix
      {"(hear Alpha 5.00 12.0 NEB_2D14bjbj)", false},           // cut off
      {"(hear Alpha 5.00 12.0 NEB_cD14bjbjaibj3)", false},      // sender 12
      {"(hear Alpha 5.00 12.0 NEB_2D14bjbjaizz3)", false},      // not base 21
      {"(hear Alpha 5.00 12.0 NEB_", false},                    // no end
      {"(hear Alpha_B 5.00 12.0 NEB_2D14bjbjaibj3)", false},    // a team named otherwise
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.message);
    Hear hear;
    hear.SetOwnTeam("Alpha");
    hear.SetHearingMsg(c.message, 1, "");
    EXPECT_EQ(hear.h_abs_x[2] != 0.0, c.read);
    if (c.read) {
      EXPECT_NEAR(hear.ball_dis[2], 2.5, 1e-9);
      EXPECT_NEAR(hear.h_abs_x[2], -2.2, 1e-9);
      EXPECT_EQ(hear.beh_[2], 3);
    }
  }
  // A ball report, and the "0.6.8" dialect's team rule.
  Hear hear;
  hear.SetHearingMsg(Heard("Alpha", "NEB_bje1"), 1, "");
  EXPECT_NEAR(hear.h_ball_abs_x, 0.0, 1e-9);
  EXPECT_NEAR(hear.h_ball_abs_y, 4.5, 1e-9);
  OriginalHear original;
  original.SetHearingMsg("_2D14bjbjaibj2e1bj", 1, "Other");
  EXPECT_EQ(original.h_abs_x[2], 0.0);
  original.SetHearingMsg("_2D14bjbjaibj2e1bj", 1, "Agent");
  EXPECT_NEAR(original.h_abs_x[2], -2.2, 1e-9);
  EXPECT_NEAR(original.h_ball_abs_x, 4.5, 1e-9);
}

TEST_F(TeamMessageTest, TheElectionFavoursTheNearestPlayerThatCanGo) {
  Brain br;
  br.territory = Side::kLeft;
  const struct {
    const char* what;
    PlayMode mode;
    std::vector<double> dis;  // numbers 1 to 11
    std::vector<int> beh;     // numbers 1 to 11, 0 when omitted
    int elected, runner_up;
  } cases[] = {
      {"outside attacking play", PlayMode::kKickOffRight, {1, 2}, {}, 0, 0},
      {"the opponent's corner kick", PlayMode::kCornerKickRight, {1, 2}, {}, 0, 0},
      {"the own goal kick", PlayMode::kGoalKickLeft, {44, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, {}, 2, 3},
      {"all equal: the lowest number", PlayMode::kPlayOn, {44, 3, 3, 3, 3, 3, 3, 3, 3, 3, 3}, {}, 2, 3},
      {"getting up counts less", PlayMode::kPlayOn, {44, 5, 4, 5, 5, 5, 5, 5, 5, 5, 5}, {0, 0, 3}, 2, 4},
      {"very close: ten times", PlayMode::kPlayOn, {9, 9, 9, 9, 0.3, 0.31, 9, 9, 9, 9, 9}, {}, 5, 6},
      {"very close outweighs getting up", PlayMode::kPlayOn, {9, 9, 9, 9, 0.3, 0.31, 9, 9, 9, 9, 9},
       {0, 0, 0, 0, 3}, 5, 6},
      {"the keeper far from the ball hands over", PlayMode::kPlayOn, {2.5, 3, 3.2, 9, 9, 9, 9, 9, 9, 9, 9}, {}, 2, 2},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Hear hear;
    hear.Watch(&br);
    br.playmode = c.mode;
    double dis[Hear::kSlots] = {44};
    for (int k = 1; k < Hear::kSlots; ++k) {
      dis[k] = k <= static_cast<int>(c.dis.size()) ? c.dis[k - 1] : 44.0;
      hear.beh_[k] = k <= static_cast<int>(c.beh.size()) ? c.beh[k - 1] : 0;
    }
    hear.SetNearBallDis(dis);
    hear.HearTactics();
    EXPECT_EQ(hear.GetNearBallFri(), c.elected);
    EXPECT_EQ(hear.GetNearBallFri2(), c.runner_up);
  }
}

}  // namespace
