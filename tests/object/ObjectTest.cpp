#include <cmath>
#include <tuple>

#include <gtest/gtest.h>

#include "object/Object.h"

namespace {

// What the computations read of the body: the neck angles and the yaw.
struct Body {
  double hj1 = 0.0, hj2 = 0.0, yaw = 0.0;
};

Object Seen(double distance, double h, double v, double vis_time = 0.0, double before = 0.0) {
  Object o("F1R");
  o.visible = true;
  std::tie(o.distance, o.h_angle, o.v_angle, o.vis_time, o.before_vis_time) =
      std::make_tuple(distance, h, v, vis_time, before);
  return o;
}

// Runs the per-cycle computations; returns the position error.
double ErrorOf(Object& o, int index, const Body& body = Body()) {
  o.UpdateAbyss(body.hj1, body.hj2);
  o.UpdateRelativeCoordinate(index, body.yaw);
  o.UpdateMeasureCovarianceError(index, body.yaw);
  return o.measure_covariance_error_(0, 0);
}

}  // namespace

TEST(ObjectTest, DirectionAddsNeckAnglesAndPositionFollowsYaw) {
  Object o = Seen(2.0, 5.0, 40.0);
  ErrorOf(o, 0, Body{20.0, -10.0, 25.0});
  EXPECT_DOUBLE_EQ(o.GetHorizonAbyss(), 25.0);
  EXPECT_DOUBLE_EQ(o.GetVerticalAbyss(), 30.0);
  // Straight ahead in the yaw-corrected frame; 30 degrees up puts it 1 m
  // high at 2 m distance.
  EXPECT_TRUE(o.GetRelCoord().isApprox(Eigen::Vector3d(0.0, std::sqrt(3.0), 1.0), 1e-12));
  o.UpdateRelativeCoordinate(0, 115.0);  // turned further left: the object is now to the right
  EXPECT_NEAR(o.GetRelCoord(0), -std::sqrt(3.0), 1e-12);
  EXPECT_NEAR(o.GetRelCoord(1), 0.0, 1e-12);

  Object hidden = Seen(5.0, 10.0, 0.0);
  hidden.visible = false;
  ErrorOf(hidden, 0);
  EXPECT_EQ(hidden.GetHorizonAbyss(), 0.0);
  EXPECT_TRUE(hidden.GetRelCoord().isZero());
  EXPECT_TRUE(hidden.GetMeasureCovarianceError().isZero());
}

TEST(ObjectTest, ErrorMatchesOneNoiseStepAccumulatesAndGrowsForHighPosts) {
  // Same time stamp twice: the interval falls back to 0.06 s.
  Object o = Seen(10.0, 0.0, 0.0, 3.0, 3.0);
  const double e = ErrorOf(o, 0);
  // Small-angle estimate of the displacement for one noise step at 10 m.
  EXPECT_NEAR(e, std::hypot(0.00965, 10 * 0.1225 * M_PI / 180, 10 * 0.148 * M_PI / 180), 1e-4);
  Eigen::Matrix<double, 6, 1> diagonal;
  diagonal << e, e, e, e / 0.06, e / 0.06, e / 0.06;
  EXPECT_TRUE(
      o.GetMeasureCovarianceError().isApprox(Eigen::Matrix<double, 6, 6>(diagonal.asDiagonal())));

  // Half a second later, twice as far: the lower block adds the previous
  // upper block.
  o.distance = 20.0;
  o.before_vis_time = 3.0;
  o.vis_time = 3.5;
  const double e2 = ErrorOf(o, 0);
  EXPECT_NEAR(e2, 2 * e, 1e-9);
  EXPECT_DOUBLE_EQ(o.GetMeasureCovarianceError()(4, 4), e2 / 0.5 + e);

  // A goal post at the camera's height errs like a flag; above it, more.
  Object flag = Seen(8.0, 15.0, 0.0), post = Seen(8.0, 15.0, 0.0);
  EXPECT_NEAR(ErrorOf(post, 5), ErrorOf(flag, 1), 1e-12);
  Object high_flag = Seen(8.0, 15.0, 10.0), high_post = Seen(8.0, 15.0, 10.0);
  EXPECT_LT(ErrorOf(high_flag, 1), 0.05);
  // The pushed height of a post is mirrored: the error is about twice its height.
  EXPECT_NEAR(ErrorOf(high_post, 5), 2 * 8.0 * std::sin(10.0 * M_PI / 180.0), 0.05);
}

TEST(ObjectTest, NearestVisibleFlagIsMarkedLowestIndexOnTies) {
  Object flags[8];
  Object* ptrs[8];
  const double distance[8] = {1, 0, 7, 0, 0, 7, 9, 0};
  for (int i = 0; i < 8; ++i) {
    flags[i] = Seen(distance[i], 0, 0);
    flags[i].visible = distance[i] > 1;  // the nearest one is not seen
    ptrs[i] = &flags[i];
  }
  flags[7].tgt = true;  // stale mark
  Object::CalcMostNearFlag(flags);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(flags[i].GetTarget(), i == 2) << i;
  flags[6].distance = 6.5;
  Object::CalcMostNearFlag(ptrs);
  for (int i = 0; i < 8; ++i) EXPECT_EQ(flags[i].GetTarget(), i == 6) << i;
  for (auto& f : flags) f.visible = false;
  Object::CalcMostNearFlag(flags);
  for (auto& f : flags) EXPECT_FALSE(f.GetTarget());
}
