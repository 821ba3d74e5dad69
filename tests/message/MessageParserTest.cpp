#include <string>

#include <gtest/gtest.h>

#include "message/Message.h"
#include "MessageTestData.h"

namespace {

const char* const kLandmarks[8] = {"F1R", "F2R", "F1L", "F2L", "G1R", "G2R", "G1L", "G2L"};

Message WithText(const std::string& text, const std::string& team = "Alpha") {
  Message m(1, team);
  m.SetMessage(text);
  return m;
}

}  // namespace

TEST(MessageParserTest, ConstructorHoldsInitCommandAndDefaults) {
  Message m(7, "Alpha");
  EXPECT_EQ(m.GetMessage(), "(init (unum 7)(teamname Alpha))");
  EXPECT_EQ(m.territory_, 'N');
  EXPECT_EQ(m.f_score_, 0);
  EXPECT_EQ(m.e_score_, 0);
  EXPECT_EQ(m.flag_[6].GetName(), "G1L");
  EXPECT_DOUBLE_EQ(m.ball_.GetRadius(), 0.042);
  EXPECT_EQ(m.friend_[3].GetPartNum(), 5);
  m = "abc";
  m += "def";
  EXPECT_EQ(m.GetMessage(), "abcdef");
}

TEST(MessageParserTest, RecordedVisionMessage) {
  Object::ResetVisionState();
  Message m = WithText(RecordedVisionMessage());
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), 0.0);
  EXPECT_EQ(m.ParsePlayMode(), "BeforeKickOff");
  EXPECT_EQ(m.ParseScore('F'), 0);
  EXPECT_EQ(m.ParseScore('E'), 0);
  EXPECT_EQ(m.ParseTerritory(), 'N');  // the side came in an earlier message
  EXPECT_TRUE(m.ParseGyro().isApprox(Eigen::Vector3d(-0.04, 0.0, 0.0)));
  EXPECT_TRUE(m.ParseAcc().isApprox(Eigen::Vector3d(0.0, -0.06, 46.37)));
  EXPECT_DOUBLE_EQ(m.ParseJoint("llj6"), 0.0);

  const ForceResistance r = m.ParseFrp('R');
  EXPECT_TRUE(r.existence);
  EXPECT_TRUE(r.coord.isApprox(Eigen::Vector3d(-0.0, -0.01, -0.01)));
  EXPECT_TRUE(r.force.isApprox(Eigen::Vector3d(0.0, 0.11, 16.49)));
  const ForceResistance l = m.ParseFrp('l');
  EXPECT_TRUE(l.existence);
  EXPECT_TRUE(l.force.isApprox(Eigen::Vector3d(-0.0, 0.11, 16.49)));

  ASSERT_TRUE(m.ParseSeeMsg());
  EXPECT_TRUE(Object::see);
  const Ball& b = m.ParseBall();
  EXPECT_TRUE(b.visible);
  EXPECT_DOUBLE_EQ(b.distance, 16.91);
  EXPECT_DOUBLE_EQ(b.h_angle, -33.08);
  EXPECT_DOUBLE_EQ(b.v_angle, -1.78);

  const bool seen[8] = {true, true, false, false, true, true, false, false};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(m.ParseFlags(kLandmarks[i]).visible, seen[i]) << i;
  EXPECT_EQ(Object::vis_count, 4);
  EXPECT_DOUBLE_EQ(m.flag_[5].distance, 30.90);  // G2R
  EXPECT_DOUBLE_EQ(m.flag_[0].h_angle, 1.54);    // F1R
  EXPECT_DOUBLE_EQ(m.flag_[1].v_angle, -0.85);   // F2R

  // The robot sees its own lower arms as player 1 of its team.
  EXPECT_EQ(m.ParseTeamName(0), "Alpha");
  EXPECT_EQ(m.ParseTeamName(1), "");
  Player& me = m.ParsePlayer("Alpha", 1);
  EXPECT_EQ(&me, &m.friend_[1]);
  EXPECT_FALSE(me.head.visible);
  EXPECT_TRUE(me.rarm.visible);
  EXPECT_DOUBLE_EQ(me.rarm.distance, 0.18);
  EXPECT_DOUBLE_EQ(me.rarm.h_angle, -34.28);
  EXPECT_DOUBLE_EQ(me.larm.v_angle, -23.78);
  EXPECT_FALSE(me.rfoot.visible);
  EXPECT_FALSE(m.ParsePlayer("Alpha", 2).rarm.visible);
  EXPECT_FALSE(m.ParsePlayer("Beta", 1).larm.visible);
  EXPECT_EQ(m.ParseLineCount(), 17);
  Object::ResetVisionState();
}

TEST(MessageParserTest, GameTimePlayModeAndSide) {
  EXPECT_DOUBLE_EQ(WithText("(GS (t 12.34) (pm PlayOn))").ParseGameTime(), -1.0);
  EXPECT_DOUBLE_EQ(WithText("(time (now 3.1))(t 12.34)").ParseGameTime(), -1.0);
  EXPECT_DOUBLE_EQ(WithText("(time (now 3.1))(GS (t 12.34) (pm PlayOn))").ParseGameTime(), 12.34);
  EXPECT_EQ(WithText("(time (now 3.1))(GS (t 1.00))").ParsePlayMode(), "Unknown");
  EXPECT_EQ(WithText("(GS (pm KickOff_Left))").ParsePlayMode(), "KickOff_Left");

  // The time is read once per text, and again after the text changes.
  Message m = WithText("(time (now 1))(GS (t 5.5))");
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), 5.5);
  m.SetMessage("(time (now 1))(GS (t 6.25))");
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), 6.25);
  m = "(time (now 1))";
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), -1.0);
  m += "(GS (t 7))";
  EXPECT_DOUBLE_EQ(m.ParseGameTime(), 7.0);

  m = "(GS (unum 1) (team right) (t 0.00))";
  EXPECT_EQ(m.ParseTerritory(), 'R');
  m = "(GS (t 0.02))";
  EXPECT_EQ(m.ParseTerritory(), 'R');
  m = "(GS (team left))";
  EXPECT_EQ(m.ParseTerritory(), 'L');
}

TEST(MessageParserTest, Scores) {
  Message m = WithText("(GS (sl 2) (sr 3) (t 1))");
  EXPECT_EQ(m.ParseScore('F'), 2);
  EXPECT_EQ(m.ParseScore('f'), 2);
  EXPECT_EQ(m.ParseScore('E'), 3);
  m = "(GS (sl 4) (t 1))";
  EXPECT_EQ(m.ParseScore('F'), -1);  // no right score: absent
  EXPECT_EQ(m.f_score_, 4);          // but the left one is kept
  EXPECT_EQ(m.e_score_, 3);
  EXPECT_EQ(WithText("(GS (sl 2) (sr 3))", "").ParseScore('F'), -1);
}

TEST(MessageParserTest, InertialSensorsAndJoints) {
  Message m = WithText("(HJ (n hj1) (ax 12.5))(HJ (n hj2) (ax -3.25))(GYR (n torso) (rt 1 2 3))");
  EXPECT_DOUBLE_EQ(m.ParseJoint("hj1"), 12.5);
  EXPECT_DOUBLE_EQ(m.ParseJoint("hj2"), -3.25);
  EXPECT_DOUBLE_EQ(m.ParseJoint("rlj3"), 0.0);
  EXPECT_TRUE(m.ParseGyro().isApprox(Eigen::Vector3d(1, 2, 3)));
  m.acc_ = Eigen::Vector3d(0, 0, 9.81);
  m = "(GS (t 1))";
  EXPECT_TRUE(m.ParseGyro().isApprox(Eigen::Vector3d(1, 2, 3)));  // absent: unchanged
  EXPECT_TRUE(m.ParseAcc().isApprox(Eigen::Vector3d(0, 0, 9.81)));
}

TEST(MessageParserTest, FootSensorDefaults) {
  Message m = WithText("(FRP (n lf) (c 0.01 0.02 0.03) (f 1 2 3))");
  const ForceResistance other = m.ParseFrp('x');
  EXPECT_FALSE(other.existence);
  EXPECT_TRUE(other.coord.isZero());
  EXPECT_TRUE(m.ParseFrp('L').existence);
  m.frp_r_.existence = true;
  m.frp_r_.force = Eigen::Vector3d(9, 9, 9);
  const ForceResistance right = m.ParseFrp('R');
  EXPECT_FALSE(right.existence);
  EXPECT_TRUE(right.force.isZero());
  EXPECT_TRUE(m.frp_r_.force.isApprox(Eigen::Vector3d(9, 9, 9)));  // stored one untouched
}

TEST(MessageParserTest, BallAndLandmarkSightingTimes) {
  Object::ResetVisionState();
  Message m = WithText("(time (now 2))(GS (t 4.5))(See (F1L (pol 10 20 -1)) (B (pol 1 2 3)))");
  ASSERT_TRUE(m.ParseSeeMsg());
  EXPECT_DOUBLE_EQ(Object::see_time, 4.5);
  m.ParseFlags("F1L");
  m.ParseFlags("F1L");  // same time again
  EXPECT_DOUBLE_EQ(m.flag_[2].vis_time, 4.5);
  EXPECT_DOUBLE_EQ(m.flag_[2].before_vis_time, 4.5);
  EXPECT_EQ(Object::vis_count, 2);
  m.ParseBall();
  EXPECT_DOUBLE_EQ(m.ball_.vis_time, 0.0);  // the ball never carries the game time

  m.flag_[2].tgt = true;
  m = "(time (now 2))(GS (t 4.52))(See (B (pol 1 2 3)))";
  ASSERT_TRUE(m.ParseSeeMsg());
  EXPECT_DOUBLE_EQ(Object::before_see_time, 4.5);
  EXPECT_EQ(Object::vis_count, 0);
  const Object& f = m.ParseFlags("F1L");
  EXPECT_FALSE(f.visible);
  EXPECT_FALSE(f.tgt);
  EXPECT_DOUBLE_EQ(f.distance, 10.0);  // the old numbers stay

  m = "(GS (t 5))";
  EXPECT_FALSE(m.ParseSeeMsg());
  EXPECT_FALSE(Object::see);
  EXPECT_FALSE(m.ParseBall().visible);

  m.flag_[3].distance = 5.0;
  testing::internal::CaptureStdout();
  Object& unknown = m.ParseFlags("F3X");
  EXPECT_EQ(testing::internal::GetCapturedStdout(), "Not string format!!\n");
  EXPECT_FALSE(unknown.visible);
  for (int i = 0; i < 8; ++i) EXPECT_NE(&unknown, &m.flag_[i]);
  EXPECT_DOUBLE_EQ(m.flag_[3].distance, 5.0);
  Object::ResetVisionState();
}

TEST(MessageParserTest, PlayersBorrowLaterPartsAndTeamsFillInOrder) {
  Message m = WithText(
      "(time (now 1))(GS (t 3))(See (P (team Beta) (id 2) (head (pol 5 6 7))) "
      "(P (team Alpha) (id 3) (rfoot (pol 8 9 10))) (P (team Beta) (id 4) (lfoot (pol 1 1 1))))");
  EXPECT_EQ(m.ParseTeamName(0), "Beta");
  EXPECT_EQ(m.ParseTeamName(1), "Alpha");  // A, B, A gives two names

  Player& b2 = m.ParsePlayer("Beta", 2);
  EXPECT_EQ(&b2, &m.enemy_[2]);
  EXPECT_TRUE(b2.head.visible);
  EXPECT_DOUBLE_EQ(b2.head.vis_time, 3.0);
  // The feet of the following players are read as this player's own.
  EXPECT_TRUE(b2.rfoot.visible);
  EXPECT_DOUBLE_EQ(b2.rfoot.distance, 8.0);
  EXPECT_DOUBLE_EQ(b2.lfoot.h_angle, 1.0);
  EXPECT_FALSE(b2.rarm.visible);
  EXPECT_DOUBLE_EQ(b2.rarm.distance, 0.0);
  EXPECT_FALSE(b2.visible_);

  Player& a3 = m.ParsePlayer("Alpha", 3);
  EXPECT_EQ(&a3, &m.friend_[3]);
  EXPECT_FALSE(a3.head.visible);

  b2.head.vis_time = 2.5;
  Player& again = m.ParsePlayer("Beta", 2);
  EXPECT_DOUBLE_EQ(again.head.before_vis_time, 2.5);
  EXPECT_DOUBLE_EQ(again.rarm.before_vis_time, 0.0);

  // Out-of-range numbers get an invisible stand-in, not a stored player.
  Player& outside = m.ParsePlayer("Beta", 12);
  EXPECT_FALSE(outside.head.visible);
  EXPECT_NE(&outside, &m.enemy_[11]);
  EXPECT_FALSE(m.ParsePlayer("Beta", -1).rfoot.visible);

  m = "(P (team Gamma) (id 1))(P (team Delta) (id 1))";
  EXPECT_EQ(m.ParseTeamName(0), "Beta");  // both known: no more scanning
  EXPECT_EQ(m.ParseTeamName(1), "Alpha");
  EXPECT_EQ(m.ParseTeamName(2), "");

  Message n = WithText("(P (team A) (id 1)) (P (team B) (id 1)) (P (team A) (id 2))");
  EXPECT_EQ(n.ParseTeamName(0), "A");
  EXPECT_EQ(n.ParseTeamName(1), "B");
  // A sighting without a team name does not take the second slot.
  Message e = WithText("(P (team A) (id 1)) (P (team ) (id 1)) (P (team B) (id 2))");
  EXPECT_EQ(e.ParseTeamName(1), "B");
}

TEST(MessageParserTest, HeardMessages) {
  const std::string text =
      "(GS (t 1))(hear 12.5 self xyz)(hear Alpha 3.50 -40.5 hello)(hear Beta 0.00 0.60 abc)";
  Message m = WithText(text);
  const Hearing own = m.ParseHearingMsg(0);
  EXPECT_EQ(own.GetMessage(), "(hear 12.5 self xyz)");
  EXPECT_DOUBLE_EQ(own.GetTime(), 12.5);
  EXPECT_TRUE(own.IsMyself());
  EXPECT_DOUBLE_EQ(own.GetDirection(), 0.0);
  EXPECT_EQ(own.GetText(), "xyz");
  EXPECT_EQ(own.GetTeamName(), "");

  const Hearing mate = m.ParseHearingMsg(1);
  EXPECT_EQ(mate.GetTeamName(), "Alpha");
  EXPECT_DOUBLE_EQ(mate.GetTime(), 3.5);
  EXPECT_FALSE(mate.IsMyself());
  EXPECT_DOUBLE_EQ(mate.GetDirection(), -40.5);
  EXPECT_EQ(mate.GetText(), "hello");
  EXPECT_TRUE(m.hear_[0].GetMessage().empty());  // every call clears both records
  EXPECT_EQ(m.hear_[1].GetText(), "hello");

  // Another team's name stands where the time is expected.
  Message other = WithText("(hear Beta 7.00 0.60 abc)");
  const Hearing foreign = other.ParseHearingMsg(0);
  EXPECT_DOUBLE_EQ(foreign.GetTime(), 0.0);
  EXPECT_TRUE(foreign.GetTeamName().empty());
  EXPECT_EQ(other.ParseHearingMsg(1).GetMessage(), "");

  testing::internal::CaptureStderr();
  const Hearing over = m.ParseHearingMsg(2);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Error : Over hear message number '3'.\n");
  EXPECT_TRUE(over.GetMessage().empty());

  Message nameless = WithText(text, "");
  testing::internal::CaptureStderr();
  const Hearing none = nameless.ParseHearingMsg(0);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "Not initialize \"friend_team_name\".\n");
  EXPECT_TRUE(none.GetMessage().empty());
}

TEST(MessageParserTest, MalformedNumbersGiveDefaults) {
  EXPECT_DOUBLE_EQ(WithText("(HJ (n hj1) (ax").ParseJoint("hj1"), 0.0);
  EXPECT_DOUBLE_EQ(WithText("(HJ (n hj1) (ax 4.5").ParseJoint("hj1"), 4.5);
  EXPECT_DOUBLE_EQ(WithText("(HJ (n hj1) (ax nan))").ParseJoint("hj1"), 0.0);
  EXPECT_DOUBLE_EQ(WithText("(HJ (n hj1) (ax 0x10))").ParseJoint("hj1"), 0.0);
  EXPECT_DOUBLE_EQ(WithText("(HJ (n hj1) (ax 1e999))").ParseJoint("hj1"), 0.0);
  EXPECT_DOUBLE_EQ(WithText("(HJ (n hj1) (ax abc))").ParseJoint("hj1"), 0.0);
  EXPECT_DOUBLE_EQ(WithText("(time (now 1))(GS (t ").ParseGameTime(), -1.0);
  EXPECT_EQ(WithText("(GS (pm").ParsePlayMode(), "Unknown");
  EXPECT_EQ(WithText("(GS (sl 99999999999) (sr 1))").ParseScore('F'), 2147483647);

  Message g = WithText("(GYR (n torso) (rt ");
  g.gyro_ = Eigen::Vector3d(1, 1, 1);
  EXPECT_TRUE(g.ParseGyro().isApprox(Eigen::Vector3d(1, 1, 1)));
  g = "(GYR (n torso) (rt 5 6";
  EXPECT_TRUE(g.ParseGyro().isApprox(Eigen::Vector3d(5, 6, 0)));

  EXPECT_FALSE(WithText("FRP (n rf) (c 1 2 3").ParseFrp('R').existence);
  EXPECT_FALSE(WithText("(B (pol").ParseBall().visible);
  EXPECT_FALSE(WithText("(P (team Alpha) (id 1) (head (pol").ParsePlayer("Alpha", 1).head.visible);
  EXPECT_EQ(WithText("(hear 1.5").ParseHearingMsg(0).GetMessage(), "");
  const Hearing cut = WithText("(hear 1.5)").ParseHearingMsg(0);
  EXPECT_DOUBLE_EQ(cut.GetTime(), 1.5);
  EXPECT_EQ(cut.GetText(), "");
}
