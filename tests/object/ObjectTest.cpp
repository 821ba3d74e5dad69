#include <cmath>

#include <gtest/gtest.h>

#include "agent/CommonInformation.h"
#include "agent/Singleton.h"
#include "object/Object.h"

namespace {

CommonInformation& FreshBoard() {
  Object::ResetVisionState();
  return Singleton<CommonInformation>::Reset();
}

Object Seen(double distance, double h, double v, double vis_time = 0.0, double before = 0.0) {
  Object o("F1R");
  o.visible = true;
  o.distance = distance;
  o.h_angle = h;
  o.v_angle = v;
  o.vis_time = vis_time;
  o.before_vis_time = before;
  return o;
}

// Direction, relative position and error of one landmark sighting.
double ErrorOf(Object& o, int index) {
  o.UpdateAbyss();
  o.UpdateRelativeCoordinate(index);
  o.UpdateMeasureCovarianceError(index);
  return o.measure_covariance_error_(0, 0);
}

}  // namespace

TEST(ObjectTest, DirectionAddsNeckAnglesAndPositionFollowsYaw) {
  CommonInformation& ci = FreshBoard();
  ci.hj1_ = 20.0;
  ci.hj2_ = -10.0;
  ci.total_ = Eigen::Vector3d(0.0, 0.0, 25.0);
  Object o = Seen(2.0, 5.0, 40.0);
  o.UpdateAbyss();
  EXPECT_DOUBLE_EQ(o.GetHorizonAbyss(), 25.0);
  EXPECT_DOUBLE_EQ(o.GetVerticalAbyss(), 30.0);
  // Horizontal direction equals the yaw: straight ahead in the yaw-corrected
  // frame; 30 degrees up puts it 1 m high at 2 m distance.
  o.UpdateRelativeCoordinate(0);
  EXPECT_NEAR(o.GetRelCoord(0), 0.0, 1e-12);
  EXPECT_NEAR(o.GetRelCoord(1), std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(o.GetRelCoord(2), 1.0, 1e-12);

  ci.total_(2) = 115.0;  // turned further left: the object is now to the right
  o.UpdateRelativeCoordinate(0);
  EXPECT_NEAR(o.GetRelCoord(0), -std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(o.GetRelCoord(1), 0.0, 1e-12);
}

TEST(ObjectTest, InvisibleObjectIsLeftAlone) {
  CommonInformation& ci = FreshBoard();
  ci.hj1_ = 30.0;
  Object o = Seen(5.0, 10.0, 0.0);
  o.visible = false;
  o.UpdateAbyss();
  o.UpdateRelativeCoordinate(0);
  o.UpdateMeasureCovarianceError(0);
  EXPECT_EQ(o.GetHorizonAbyss(), 0.0);
  EXPECT_TRUE(o.GetRelCoord().isZero());
  EXPECT_TRUE(o.GetMeasureCovarianceError().isZero());
}

TEST(ObjectTest, ErrorMatchesOneNoiseStepAndAccumulates) {
  FreshBoard();
  // Same time stamp twice: the interval falls back to 0.06 s.
  Object o = Seen(10.0, 0.0, 0.0, 3.0, 3.0);
  const double e = ErrorOf(o, 0);
  // Small-angle estimate of the displacement for one noise step at 10 m.
  const double rad = M_PI / 180.0;
  const double expected = std::sqrt(std::pow(0.00965, 2) + std::pow(10 * 0.1225 * rad, 2) +
                                    std::pow(10 * 0.148 * rad, 2));
  EXPECT_NEAR(e, expected, 1e-4);
  const auto& m = o.GetMeasureCovarianceError();
  for (int i = 0; i < 3; ++i) {
    EXPECT_DOUBLE_EQ(m(i, i), e);
    EXPECT_DOUBLE_EQ(m(3 + i, 3 + i), e / 0.06);
  }
  EXPECT_DOUBLE_EQ(m.sum(), 3 * e + 3 * e / 0.06);  // nothing off the diagonal

  // Next sighting half a second later, twice as far: the lower block adds
  // the previous upper block.
  o.distance = 20.0;
  o.before_vis_time = 3.0;
  o.vis_time = 3.5;
  const double e2 = ErrorOf(o, 0);
  EXPECT_NEAR(e2, 2 * e, 1e-9);
  EXPECT_DOUBLE_EQ(o.GetMeasureCovarianceError()(4, 4), e2 / 0.5 + e);
  EXPECT_DOUBLE_EQ(o.GetMeasureCovarianceError()(1, 1), e2);
}

TEST(ObjectTest, GoalPostErrorGrowsWithVerticalAngle) {
  FreshBoard();
  Object flag = Seen(8.0, 15.0, 0.0);
  Object post = Seen(8.0, 15.0, 0.0);
  EXPECT_NEAR(ErrorOf(post, 5), ErrorOf(flag, 1), 1e-12);

  Object high_flag = Seen(8.0, 15.0, 10.0);
  Object high_post = Seen(8.0, 15.0, 10.0);
  const double flag_e = ErrorOf(high_flag, 1);
  const double post_e = ErrorOf(high_post, 5);
  EXPECT_LT(flag_e, 0.05);
  // The pushed height of a post is mirrored, so the error is about twice its height.
  EXPECT_NEAR(post_e, 2 * 8.0 * std::sin(10.0 * M_PI / 180.0), 0.05);
}

TEST(ObjectTest, NearestVisibleFlagIsMarkedLowestIndexOnTies) {
  Object flags[8];
  flags[0] = Seen(1.0, 0, 0);
  flags[0].visible = false;  // nearer, but not seen
  flags[2] = Seen(7.0, 0, 0);
  flags[5] = Seen(7.0, 0, 0);
  flags[6] = Seen(9.0, 0, 0);
  flags[7].tgt = true;  // stale mark
  Object::CalcMostNearFlag(flags);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(flags[i].GetTarget(), i == 2) << i;

  flags[6].distance = 6.5;
  Object* ptrs[8];
  for (int i = 0; i < 8; ++i) ptrs[i] = &flags[i];
  Object::CalcMostNearFlag(ptrs);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(flags[i].GetTarget(), i == 6) << i;

  for (auto& f : flags) f.visible = false;
  Object::CalcMostNearFlag(flags);
  for (auto& f : flags) EXPECT_FALSE(f.GetTarget());
}

TEST(ObjectTest, ReverseFlagsSwapsSightingsOnlyWithVision) {
  const char* names[8] = {"F1R", "F2R", "F1L", "F2L", "G1R", "G2R", "G1L", "G2L"};
  Object flags[8];
  for (int i = 0; i < 8; ++i) {
    flags[i] = Seen(10.0 + i, i, -i, 100.0 + i, 50.0 + i);
    flags[i].name = names[i];
    flags[i].visible = (i % 2 == 0);
    flags[i].rel_cod_ = Eigen::Vector3d::Constant(i);
  }
  flags[4].tgt = true;

  Object::ResetVisionState();  // no vision in this cycle
  Object::ReverseFlagsPosition(flags);
  for (int i = 0; i < 8; ++i) EXPECT_DOUBLE_EQ(flags[i].distance, 10.0 + i);

  Object::see = true;
  Object* ptrs[8];
  for (int i = 0; i < 8; ++i) ptrs[i] = &flags[i];
  Object::ReverseFlagsPosition(ptrs);
  const int partner[8] = {3, 2, 1, 0, 7, 6, 5, 4};
  for (int i = 0; i < 8; ++i) {
    const int j = partner[i];
    EXPECT_DOUBLE_EQ(flags[i].distance, 10.0 + j);
    EXPECT_DOUBLE_EQ(flags[i].h_angle, j);
    EXPECT_DOUBLE_EQ(flags[i].v_angle, -j);
    EXPECT_DOUBLE_EQ(flags[i].vis_time, 100.0 + j);
    EXPECT_DOUBLE_EQ(flags[i].before_vis_time, 50.0 + j);
    EXPECT_EQ(flags[i].visible, j % 2 == 0);
    EXPECT_EQ(flags[i].name, names[i]);  // slots keep their own identity
    EXPECT_EQ(flags[i].GetRelCoord(0), i);
    EXPECT_EQ(flags[i].tgt, i == 4);
  }
  Object::ResetVisionState();
}
