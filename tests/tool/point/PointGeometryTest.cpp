#include <cmath>

#include <gtest/gtest.h>

#include "tool/point/Point.h"
#include "tool/point/PointToPoint.h"
#include "tool/point/TrianglePoint.h"

namespace {

TEST(PointGeometryTest, SegmentPolarAndCartesianFormsAgree) {
  Point a(1.0, 1.0), b;
  PointToPoint seg(&a, &b);
  seg.SettingTwoPoint(1.0, 1.0, 1.0, -2.0);
  EXPECT_EQ(b.GetY(), -2.0);
  seg.UpdatePointToPointP();
  EXPECT_DOUBLE_EQ(seg.GetDistance(), 3.0);
  EXPECT_DOUBLE_EQ(seg.GetDegree(), -90.0);
  EXPECT_DOUBLE_EQ(seg.GetRadian(), -std::acos(0.0));

  // Polar in degrees back to the end point, measured from the start.
  seg.SetDistance(2.0);
  seg.SetDegree(180.0);
  seg.UpdatePointToPointD();
  EXPECT_NEAR(b.GetX(), -1.0, 1e-12);
  EXPECT_NEAR(b.GetY(), 1.0, 1e-12);
  EXPECT_NEAR(seg.GetRadian(), 3.141592653589793, 1e-15);

  // Polar in radians: degree follows.
  seg.SetRadian(std::acos(0.0));
  seg.UpdatePointToPointR();
  EXPECT_DOUBLE_EQ(seg.GetDegree(), 90.0);
  EXPECT_NEAR(b.GetX(), 1.0, 1e-12);
  EXPECT_NEAR(b.GetY(), 3.0, 1e-12);

  // The segment references the points: moving the start moves what it reads.
  Point c(4.0, 5.0);
  seg.SettingPoints(&c, &a);
  EXPECT_EQ(seg.GetPoints()[0], &c);
  seg.UpdatePointToPointP();
  EXPECT_DOUBLE_EQ(seg.GetDistance(), 5.0);
}

struct Triangle {
  Point p[3];
  PointToPoint s0{&p[0], &p[1]}, s1{&p[1], &p[2]}, s2{&p[2], &p[0]};
  TrianglePoint tri{&s0, &s1, &s2};
};

TEST(PointGeometryTest, TriangleAnglesLieOppositeTheirSides) {
  Triangle t;
  // Right angle at corner 1 (4, 0): side 0 = 4, side 1 = 3, side 2 = 5.
  t.tri.SettingThreePoint(0, 0, 4, 0, 4, 3);
  t.tri.CulculateThreeDistance();
  EXPECT_DOUBLE_EQ(t.s0.GetDistance(), 4.0);
  EXPECT_DOUBLE_EQ(t.s1.GetDistance(), 3.0);
  EXPECT_DOUBLE_EQ(t.s2.GetDistance(), 5.0);
  t.tri.UpdateTrianglePoint();
  const TrianglePoint::Angle* ang = t.tri.GetAngles();
  EXPECT_NEAR(ang[0].degree_, std::atan2(4.0, 3.0) * 180 / M_PI, 1e-12);
  EXPECT_NEAR(ang[1].degree_, std::atan2(3.0, 4.0) * 180 / M_PI, 1e-12);
  EXPECT_NEAR(ang[2].degree_, 90.0, 1e-12);
  EXPECT_NEAR(ang[0].degree_ + ang[1].degree_ + ang[2].degree_, 180.0, 1e-12);
  EXPECT_NEAR(ang[2].radian_, M_PI / 2, 1e-15);

  // Angles use the stored lengths; moving a corner alone changes nothing.
  t.tri.SettingThreePoint(0, 0, 1, 0, 0, 1);
  t.tri.UpdateTrianglePoint();
  EXPECT_NEAR(t.tri.GetAngles()[2].degree_, 90.0, 1e-12);
}

TEST(PointGeometryTest, DegenerateTrianglesGiveFiniteAngles) {
  Triangle t;
  // Collinear corners: a flat triangle.
  t.tri.SettingThreePoint(0, 0, 0.1, 0.3, 0.7, 2.1);
  t.tri.CulculateThreeDistance();
  t.tri.UpdateTrianglePoint();
  for (int i = 0; i < 3; ++i) {
    EXPECT_FALSE(std::isnan(t.tri.GetAngles()[i].degree_)) << i;
    EXPECT_FALSE(std::isnan(t.tri.GetAngles()[i].radian_)) << i;
  }
  EXPECT_NEAR(t.tri.GetAngles()[2].degree_, 180.0, 1e-5);  // opposite the long side
  EXPECT_NEAR(t.tri.GetAngles()[0].degree_, 0.0, 1e-5);

  // Cosine above 1: exactly 0 in both units.
  t.tri.CulculateInnerAngle(1, 0.5, 3.0, 1.0);
  EXPECT_EQ(t.tri.GetAngles()[1].degree_, 0.0);
  EXPECT_EQ(t.tri.GetAngles()[1].radian_, 0.0);
  // Cosine below -1 (out of reach): a straight angle, not NaN.
  t.tri.CulculateInnerAngle(1, 10.0, 3.0, 1.0);
  EXPECT_EQ(t.tri.GetAngles()[1].degree_, 180.0);
  // All corners on one spot.
  t.tri.SettingThreePoint(1, 1, 1, 1, 1, 1);
  t.tri.CulculateThreeDistance();
  t.tri.UpdateTrianglePoint();
  for (int i = 0; i < 3; ++i) EXPECT_EQ(t.tri.GetAngles()[i].degree_, 0.0);
  // An index outside 0..2 is ignored.
  t.tri.CulculateInnerAngle(3, 1, 1, 1);
  t.tri.CulculateInnerAngle(-1, 1, 1, 1);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(t.tri.GetAngles()[i].degree_, 0.0);
}

}  // namespace
