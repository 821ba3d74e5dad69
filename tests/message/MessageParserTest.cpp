#include <string>

#include <gtest/gtest.h>

#include "agent/CommonInformation.h"
#include "message/Message.h"
#include "../support/ServerStreams.h"

namespace {

Message WithText(const std::string& text, const std::string& team = "Alpha") {
  Message m(1, team);
  m.SetMessage(text);
  return m;
}

}  // namespace

TEST(MessageParserTest, RecordedVisionMessage) {
  Message m(1, "Alpha");
  EXPECT_EQ(m.GetMessage(), "(init (unum 1)(teamname Alpha))");
  m.SetMessage(streams::RecordedVisionMessage());
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), 0.0);
  EXPECT_EQ(m.ParsePlayMode(), "BeforeKickOff");
  EXPECT_EQ(m.ParseTerritory(), Side::kNone);  // the side came in an earlier message
  EXPECT_TRUE(m.ParseGyro().isApprox(Eigen::Vector3d(-0.04, 0.0, 0.0)));
  EXPECT_TRUE(m.ParseAcc().isApprox(Eigen::Vector3d(0.0, -0.06, 46.37)));
  EXPECT_TRUE(m.ParseFrp('R').existence);
  EXPECT_TRUE(m.ParseFrp('R').force.isApprox(Eigen::Vector3d(0.0, 0.11, 16.49)));

  ASSERT_TRUE(m.ParseSeeMsg());
  CommonInformation seen;
  m.ParseBall(*seen.ball_);
  const Ball& b = *seen.ball_;
  EXPECT_TRUE(b.visible && b.distance == 16.91 && b.h_angle == -33.08 && b.v_angle == -1.78);
  m.ParseFlags(seen.flag_);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(seen.flag_[i]->visible, i == 0 || i == 1 || i == 4 || i == 5) << i;
  EXPECT_EQ(m.vision_.vis_count, 4);
  EXPECT_DOUBLE_EQ(seen.flag_[0]->h_angle, 1.54);   // F1R
  EXPECT_DOUBLE_EQ(seen.flag_[1]->v_angle, -0.85);  // F2R

  // The robot sees its own lower arms as player 1 of its team.
  EXPECT_EQ(m.ParseTeamName(0), "Alpha");
  Player& me = *seen.friend_[1];
  m.ParsePlayer("Alpha", 1, me);
  EXPECT_FALSE(me.head.visible);
  EXPECT_DOUBLE_EQ(me.rarm.distance, 0.18);
  EXPECT_EQ(m.ParseLineCount(), 17);
}

TEST(MessageParserTest, GameTimeAndPlayModeDefaults) {
  const struct {
    const char* text;
    double time;
    const char* mode;
  } kCases[] = {
      {"(GS (t 12.34) (pm PlayOn))", -1.0, "PlayOn"},  // no "now"
      {"(time (now 3.1))(t 12.34)", -1.0, "Unknown"},  // no "GS"
      {"(time (now 3.1))(GS (t 12.34) (pm PlayOn))", 12.34, "PlayOn"},
      {"(time (now 1))(GS (t ", -1.0, "Unknown"},
      {"(GS (pm KickOff_Left))", -1.0, "KickOff_Left"},
      {"(GS (pm", -1.0, "Unknown"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.text);
    Message m = WithText(c.text);
    EXPECT_DOUBLE_EQ(m.ParseGameTime(), c.time);
    EXPECT_EQ(m.ParsePlayMode(), c.mode);
  }
  // The time is read again after every change of the text.
  Message m = WithText("(time (now 1))(GS (t 5.5))");
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), 5.5);
  m = "(time (now 1))";
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), -1.0);
  m += "(GS (t 7))";
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), 7.0);
}

TEST(MessageParserTest, SideIsKeptAndScoresNeedTheTeamName) {
  Message m = WithText("(GS (unum 1) (team right) (t 0.00))");
  EXPECT_EQ(m.ParseTerritory(), Side::kRight);
  m = "(GS (t 0.02))";
  EXPECT_EQ(m.ParseTerritory(), Side::kRight);
  m = "(GS (team left))";
  EXPECT_EQ(m.ParseTerritory(), Side::kLeft);

  m = "(GS (sl 2) (sr 3) (t 1))";
  EXPECT_EQ(m.ParseScore('F'), 2);
  EXPECT_EQ(m.ParseScore('f'), 2);
  EXPECT_EQ(m.ParseScore('E'), 3);
  m = "(GS (sl 4) (t 1))";
  EXPECT_EQ(m.ParseScore('F'), -1);  // no right score: absent
  EXPECT_EQ(WithText("(GS (sl 2) (sr 3))", "").ParseScore('F'), -1);
  EXPECT_EQ(WithText("(GS (sl 99999999999) (sr 1))").ParseScore('F'), 2147483647);
}

TEST(MessageParserTest, JointsAndInertialAndFootSensors) {
  const struct {
    const char* text;
    double angle;
  } kJoints[] = {
      {"(HJ (n hj1) (ax 12.5))", 12.5}, {"(HJ (n hj2) (ax -3.25))(HJ (n hj1) (ax 4.5", 4.5},
      {"(HJ (n hj2) (ax 1))", 0.0},     {"(HJ (n hj1) (ax", 0.0},
      {"(HJ (n hj1) (ax nan))", 0.0},   {"(HJ (n hj1) (ax 0x10))", 0.0},
      {"(HJ (n hj1) (ax 1e999))", 0.0}, {"(HJ (n hj1) (ax abc))", 0.0}};
  for (const auto& c : kJoints)
    EXPECT_DOUBLE_EQ(WithText(c.text).ParseJoint("hj1"), c.angle) << c.text;

  // Absent sensors leave the stored values.
  Message m = WithText("(GYR (n torso) (rt 1 2 3))(FRP (n lf) (c 0.01 0.02 0.03) (f 1 2 3))");
  EXPECT_TRUE(m.ParseGyro().isApprox(Eigen::Vector3d(1, 2, 3)));
  m.acc_ = Eigen::Vector3d(0, 0, 9.81);
  EXPECT_TRUE(m.ParseAcc().isApprox(Eigen::Vector3d(0, 0, 9.81)));
  EXPECT_FALSE(m.ParseFrp('x').existence);
  m.frp_r_.existence = true;
  m.frp_r_.force = Eigen::Vector3d(9, 9, 9);
  const ForceResistance right = m.ParseFrp('R');
  EXPECT_FALSE(right.existence);
  EXPECT_TRUE(right.force.isZero() && right.coord.isZero());
  EXPECT_TRUE(m.frp_r_.force.isApprox(Eigen::Vector3d(9, 9, 9)));
}

TEST(MessageParserTest, HeardMessages) {
  const std::string text =
      "(GS (t 1))(hear 12.5 self xyz)(hear Alpha 3.50 -40.5 hello)(hear Beta 0.00 0.60 abc)";
  Message m = WithText(text);
  const Hearing own = m.ParseHearingMsg(0);
  EXPECT_EQ(own.GetMessage(), "(hear 12.5 self xyz)");
  EXPECT_DOUBLE_EQ(own.GetTime(), 12.5);
  EXPECT_TRUE(own.IsMyself());
  EXPECT_EQ(own.GetText(), "xyz");
  const Hearing mate = m.ParseHearingMsg(1);
  EXPECT_EQ(mate.GetTeamName(), "Alpha");
  EXPECT_DOUBLE_EQ(mate.GetTime(), 3.5);
  EXPECT_FALSE(mate.IsMyself());
  EXPECT_DOUBLE_EQ(mate.GetDirection(), -40.5);
  EXPECT_EQ(mate.GetText(), "hello");
  EXPECT_TRUE(m.hear_[0].GetMessage().empty());  // every call clears both records
  // Another team's name stands where the time is expected.
  EXPECT_DOUBLE_EQ(WithText("(hear Beta 7.00 0.60 abc)").ParseHearingMsg(0).GetTime(), 0.0);

  testing::internal::CaptureStderr();
  EXPECT_TRUE(m.ParseHearingMsg(2).GetMessage().empty());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error : Over hear message number '3'.\n");
  Message nameless = WithText(text, "");
  testing::internal::CaptureStderr();
  EXPECT_TRUE(nameless.ParseHearingMsg(0).GetMessage().empty());
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Not initialize \"friend_team_name\".\n");
}

// A robot of type 4 as the real server reports it, every joint at its own
// value: a toe joint per foot, rlj7 and llj7, and a force sensor per toe, rf1
// and lf1, right behind the foot's own. The toes are left aside.
TEST(MessageParserTest, ToeJointsAndToeSensorsOfRobotType4AreLeftAside) {
  const auto& kJoints = streams::FullVisionMatch::kJoints;  // the server's order
  std::string text = "(time (now 185.02))(GS (sl 0) (sr 0) (t 0.00) (pm BeforeKickOff))"
                     "(GYR (n torso) (rt 0.00 0.00 0.00))(ACC (n torso) (a -0.00 0.00 9.81))";
  for (int i = 0; i < 22; ++i) {
    text += std::string("(HJ (n ") + kJoints[i] + ") (ax " + std::to_string(i + 1) + ".00))";
    const std::string foot = i < 16 ? "(FRP (n rf" : "(FRP (n lf";
    if (i == 14 || i == 20) text += foot + ") (c 0.00 -0.02 -0.01) (f 0.00 0.00 16.51))";
    if (i == 15 || i == 21) {
      text += foot + "1) (c 0.00 -0.00 -0.01) (f -0.00 0.00 6.09))(HJ (n " + foot[8] + "lj7) (ax -77.00))";
    }
  }
  Message m = WithText(text);
  for (int i = 0; i < 22; ++i) EXPECT_DOUBLE_EQ(m.ParseJoint(kJoints[i]), i + 1.0) << kJoints[i];
  EXPECT_DOUBLE_EQ(m.ParseFrp('R').force.z(), 16.51);
  EXPECT_DOUBLE_EQ(m.ParseFrp('L').coord.y(), -0.02);
}
