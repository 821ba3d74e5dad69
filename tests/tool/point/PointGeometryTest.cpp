#include <cmath>

#include <Eigen/Core>

#include <gtest/gtest.h>

#include "tool/point/Point.h"
#include "tool/point/PointToPoint.h"
#include "tool/point/TrianglePoint.h"

namespace {

TEST(PointGeometryTest, SegmentPolarAndCartesianFormsAgree) {
  Point a(1.0, 1.0), b(1.0, -2.0);
  PointToPoint seg(&a, &b);
  seg.UpdatePointToPointP();
  EXPECT_TRUE(
      Eigen::Vector2d(seg.GetDistance(), seg.GetDegree()).isApprox(Eigen::Vector2d(3, -90)));
  // Polar in degrees back to the end point, measured from the start; then
  // in radians, with the degree following.
  seg.SetDistance(2.0);
  seg.SetDegree(180.0);
  seg.UpdatePointToPointD();
  EXPECT_TRUE(
      Eigen::Vector3d(b.GetX(), b.GetY(), seg.GetRadian()).isApprox(Eigen::Vector3d(-1, 1, M_PI)));
  seg.SetRadian(M_PI / 2);
  seg.UpdatePointToPointR();
  EXPECT_TRUE(Eigen::Vector2d(b.GetY(), seg.GetDegree()).isApprox(Eigen::Vector2d(3, 90)));
}

TEST(PointGeometryTest, TriangleAnglesLieOppositeTheirSidesAndStayFinite) {
  Point p[3];
  PointToPoint s0(&p[0], &p[1]), s1(&p[1], &p[2]), s2(&p[2], &p[0]);
  TrianglePoint tri(&s0, &s1, &s2);
  const TrianglePoint::Angle* ang = tri.GetAngles();
  // Right angle at corner 1 (4, 0); then collinear corners, whose cosines
  // round past 1; then all corners on one spot.
  const double kCorners[3][6] = {
      {0, 0, 4, 0, 4, 3}, {0, 0, 0.1, 0.3, 0.7, 2.1}, {1, 1, 1, 1, 1, 1}};
  const double kAngles[3][3] = {
      {std::atan2(4.0, 3.0) * 180 / M_PI, std::atan2(3.0, 4.0) * 180 / M_PI, 90},
      {0, 0, 180},
      {0, 0, 0}};
  for (int t = 0; t < 3; ++t) {
    const double* c = kCorners[t];
    tri.SettingThreePoint(c[0], c[1], c[2], c[3], c[4], c[5]);
    tri.CulculateThreeDistance();
    tri.UpdateTrianglePoint();
    for (int i = 0; i < 3; ++i) {
      EXPECT_NEAR(ang[i].degree_, kAngles[t][i], 1e-5) << t << " " << i;  // NaN fails too
      EXPECT_NEAR(ang[i].radian_, kAngles[t][i] * M_PI / 180, 1e-7) << t << " " << i;
    }
  }
  // Sides that cannot close: 0 above +1, a straight angle below -1; an index
  // outside 0..2 is ignored.
  tri.CulculateInnerAngle(1, 0.5, 3.0, 1.0);
  EXPECT_EQ(ang[1].radian_, 0.0);
  tri.CulculateInnerAngle(1, 10.0, 3.0, 1.0);
  tri.CulculateInnerAngle(3, 1, 1, 1);
  tri.CulculateInnerAngle(-1, 1, 1, 1);
  EXPECT_EQ(ang[1].degree_, 180.0);
  EXPECT_EQ(ang[0].degree_, 0.0);
}

}  // namespace
