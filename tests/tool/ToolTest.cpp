#include "tool/Tool.h"

#include <chrono>
#include <cmath>
#include <limits>

#include <gtest/gtest.h>

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(ToolTest, Limited180IsAsymmetricAtTheBoundary) {
  EXPECT_EQ(Tool::Limited180(180.0), -180.0);
  EXPECT_EQ(Tool::Limited180(-180.0), 180.0);
  EXPECT_EQ(Tool::Limited180(540.0), -180.0);
  EXPECT_EQ(Tool::Limited180(-540.0), 180.0);
  EXPECT_EQ(Tool::Limited180(0.0), 0.0);
  EXPECT_EQ(Tool::Limited180(-0.0), 0.0);
  EXPECT_DOUBLE_EQ(Tool::Limited180(190.0), -170.0);
  EXPECT_DOUBLE_EQ(Tool::Limited180(-190.0), 170.0);
  EXPECT_EQ(Tool::Limited180(720.0), 0.0);
  EXPECT_DOUBLE_EQ(Tool::Limited180(179.5), 179.5);
  EXPECT_DOUBLE_EQ(Tool::Limited180(-179.5), -179.5);
  // Many turns away still lands in range.
  const double r = Tool::Limited180(36000.0 + 45.0);
  EXPECT_NEAR(r, 45.0, 1e-9);
}

TEST(ToolTest, Limited360MapsIntoOneTurn) {
  EXPECT_DOUBLE_EQ(Tool::Limited360(-90.0), 270.0);
  EXPECT_EQ(Tool::Limited360(360.0), 0.0);
  EXPECT_EQ(Tool::Limited360(-180.0), 180.0);
  EXPECT_EQ(Tool::Limited360(180.0), 180.0);
  EXPECT_DOUBLE_EQ(Tool::Limited360(-1.0), 359.0);
  EXPECT_DOUBLE_EQ(Tool::Limited360(725.0), 5.0);
}

TEST(ToolTest, DistanceAndBearingBetweenPlanePoints) {
  EXPECT_DOUBLE_EQ(Tool::DistanceForTwoPoints(1.0, 2.0, 4.0, 6.0), 5.0);
  EXPECT_DOUBLE_EQ(Tool::DistanceForTwoPoints(Eigen::Vector2d(1, 2), Eigen::Vector2d(4, 6)), 5.0);
  EXPECT_DOUBLE_EQ(Tool::DegreeForTwoPoints(0, 0, -1, 0), 180.0);
  EXPECT_DOUBLE_EQ(Tool::DegreeForTwoPoints(0, 0, 0, -1), -90.0);
  EXPECT_DOUBLE_EQ(Tool::DegreeForTwoPoints(0, 0, 0, 1), 90.0);
  EXPECT_EQ(Tool::DegreeForTwoPoints(3, 3, 3, 3), 0.0);
  // Bearing of point 2 from point 1, not the other way round.
  EXPECT_DOUBLE_EQ(Tool::DegreeForTwoPoints(1, 1, 2, 2), 45.0);
  EXPECT_DOUBLE_EQ(Tool::DegreeForTwoPoints(2, 2, 1, 1), -135.0);
  EXPECT_DOUBLE_EQ(Tool::DegreeForTwoPoints(Eigen::Vector2d(2, 2), Eigen::Vector2d(1, 1)), -135.0);
}

TEST(ToolTest, SpaceDistanceAndAngleBetweenVectors) {
  EXPECT_DOUBLE_EQ(Tool::DistanceForTwoPoints3D(1, 2, 3, 3, 5, 9), 7.0);
  EXPECT_NEAR(Tool::DegreeForTwoPoints3D(1, 0, 0, 0, 0, 5), 90.0, 1e-12);
  // acos is steep near 1: one unit of rounding is about 1e-6 degrees.
  EXPECT_NEAR(Tool::DegreeForTwoPoints3D(1, 1, 0, 2, 2, 0), 0.0, 1e-5);
  EXPECT_NEAR(Tool::DegreeForTwoPoints3D(1, 2, 3, -2, -4, -6), 180.0, 1e-5);
  // Parallel vectors whose cosine rounds past 1 must not turn into NaN.
  const double x1 = 0.05, y1 = 0.7, z1 = 0.3, k = 0.1;
  const double x2 = x1 * k, y2 = y1 * k, z2 = z1 * k;
  const double raw = (x1 * x2 + y1 * y2 + z1 * z2) /
                     (std::sqrt(x1 * x1 + y1 * y1 + z1 * z1) * std::sqrt(x2 * x2 + y2 * y2 + z2 * z2));
  ASSERT_GT(raw, 1.0);
  EXPECT_EQ(Tool::DegreeForTwoPoints3D(x1, y1, z1, x2, y2, z2), 0.0);
  EXPECT_EQ(Tool::DegreeForTwoPoints3D(x1, y1, z1, -x2, -y2, -z2), 180.0);
  EXPECT_EQ(Tool::DegreeForTwoPoints3D(0, 0, 0, 1, 0, 0), 0.0);
}

TEST(ToolTest, TheoremOfCosinesIncludingDegenerateTriangles) {
  EXPECT_NEAR(Tool::TheoremOfCosines(5, 3, 4), 90.0, 1e-12);
  EXPECT_NEAR(Tool::TheoremOfCosines(1, 1, 1), 60.0, 1e-12);
  // Flat triangles: 0 opposite the vanishing side, 180 opposite the longest.
  EXPECT_EQ(Tool::TheoremOfCosines(0, 2, 2), 0.0);
  EXPECT_NEAR(Tool::TheoremOfCosines(4, 1, 3), 180.0, 1e-9);
  // Sides that cannot close give cosines past +-1.
  EXPECT_EQ(Tool::TheoremOfCosines(0.5, 3, 1), 0.0);
  EXPECT_EQ(Tool::TheoremOfCosines(10, 3, 1), 180.0);
  // A flat triangle whose cosine rounds just above 1.
  bool saw_rounding_case = false;
  for (double b = 0.1; b < 10.0; b += 0.037) {
    const double c = b * 1.3;
    const double a = c - b;
    const double cosine = (b * b + c * c - a * a) / (2 * b * c);
    if (cosine > 1.0) saw_rounding_case = true;
    const double angle = Tool::TheoremOfCosines(a, b, c);
    EXPECT_FALSE(std::isnan(angle));
    EXPECT_NEAR(angle, 0.0, 1e-4);
  }
  EXPECT_TRUE(saw_rounding_case);
  EXPECT_EQ(Tool::TheoremOfCosines(0, 0, 0), 0.0);
}

TEST(ToolTest, CulculatePointStepsFromTheOffset) {
  const Eigen::Vector2d p = Tool::CulculatePoint(2.0, 90.0, 1.0, -1.0);
  EXPECT_NEAR(p.x(), 1.0, 1e-12);
  EXPECT_NEAR(p.y(), 1.0, 1e-12);
  const Eigen::Vector2d q = Tool::CulculatePoint(1.0, -135.0, 0.0, 0.0);
  EXPECT_NEAR(q.x(), -std::sqrt(0.5), 1e-12);
  EXPECT_NEAR(q.y(), -std::sqrt(0.5), 1e-12);
}

TEST(ToolTest, AbyssForTwoPointsStaysWithinHalfTurn) {
  // Bearing straight up (+y) is 90, plus 90 wraps to -180.
  EXPECT_DOUBLE_EQ(Tool::AbyssForTwoPoints(0, 0, 0, 1, 0.0), 180.0);
  EXPECT_DOUBLE_EQ(Tool::AbyssForTwoPoints(0, 0, 1, 0, 30.0), -60.0);
  // offset 170 minus -170 (bearing 100 + 90 wrapped) = 340, one turn back.
  EXPECT_NEAR(Tool::AbyssForTwoPoints(0, 0, std::cos(Tool::ToRadians(100.0)),
                                      std::sin(Tool::ToRadians(100.0)), 170.0),
              -20.0, 1e-9);
  // offset -170 minus 170 = -340, one turn forward.
  EXPECT_NEAR(Tool::AbyssForTwoPoints(0, 0, std::cos(Tool::ToRadians(80.0)),
                                      std::sin(Tool::ToRadians(80.0)), -170.0),
              20.0, 1e-9);
}

TEST(ToolTest, LimitParamClampsMaxFirstThenMin) {
  EXPECT_EQ(Tool::LimitParam(5, 0, 3), 3.0);
  EXPECT_EQ(Tool::LimitParam(-1, 0, 3), 0.0);
  EXPECT_EQ(Tool::LimitParam(2, 0, 3), 2.0);
  EXPECT_EQ(Tool::LimitParam(2, 4, 3), 4.0);
  EXPECT_EQ(Tool::LimitParam(10, 4, 3), 4.0);
}

TEST(ToolTest, TrapezoidIntegration) {
  // Sign change: two triangles of opposite sign cancel.
  EXPECT_NEAR(Tool::TrapezoidIntegration(10, -1, 1, 0.2), 10.0, 1e-12);
  // Sign change with unequal samples: zero crossing at t0 = 0.05 of 0.2.
  // Area = 1 * 0.05 / 2 + (-3) * 0.15 / 2 = 0.025 - 0.225 = -0.2.
  EXPECT_NEAR(Tool::TrapezoidIntegration(1, -3, 1, 0.2), 1.2, 1e-12);
  EXPECT_NEAR(Tool::TrapezoidIntegration(1, 3, -1, 0.2), 0.8, 1e-12);
  EXPECT_DOUBLE_EQ(Tool::TrapezoidIntegration(10, 2, 0, 0.5), 9.5);
  EXPECT_DOUBLE_EQ(Tool::TrapezoidIntegration(0, -2, -4, 0.5), 1.5);
  // The direction argument changes nothing.
  EXPECT_EQ(Tool::TrapezoidIntegration(10, 2, 0, 0.5, 1), Tool::TrapezoidIntegration(10, 2, 0, 0.5, -1));
  // A NaN sample leaves the target unchanged.
  EXPECT_EQ(Tool::TrapezoidIntegration(7, kNaN, 1, 0.2), 7.0);
  EXPECT_EQ(Tool::TrapezoidIntegration(7, 1, kNaN, 0.2), 7.0);
}

TEST(ToolTest, DifferentiationOrdinaryExponents) {
  EXPECT_EQ(Tool::Differentiation(3, 2), 6.0);
  EXPECT_EQ(Tool::Differentiation(2, 4), 32.0);
  EXPECT_EQ(Tool::Differentiation(5, 1), 5.0);
  EXPECT_EQ(Tool::Differentiation(5, 0.02), 5 * 0.02);
  EXPECT_EQ(Tool::Differentiation(5, -3), -15.0);
  // A fractional exponent counts ceil(n) - 1 factors: 2.5 * 2^2.
  EXPECT_EQ(Tool::Differentiation(2, 2.5), 10.0);
  EXPECT_EQ(Tool::Differentiation(-2, 3), 12.0);
  EXPECT_EQ(Tool::Differentiation(-2, 4), -32.0);
}

TEST(ToolTest, DifferentiationMatchesRepeatedProductAcrossTheSwitch) {
  // Small counts are multiplied one by one; larger ones by a power. Both
  // sides of the switch must agree with the plain product.
  for (double x : {1.01, -1.01, 0.97, -0.97, 1.5}) {
    for (double n : {63.0, 64.0, 65.0, 65.5, 66.0, 80.0, 200.0}) {
      double product = x;
      for (int i = 2; i < n; ++i) product *= x;
      const double expected = n * product;
      EXPECT_NEAR(Tool::Differentiation(x, n), expected, std::fabs(expected) * 1e-12)
          << "x=" << x << " n=" << n;
    }
  }
}

TEST(ToolTest, DifferentiationHugeExponentReturnsPromptlyWithTheLimit) {
  const auto start = std::chrono::steady_clock::now();
  EXPECT_EQ(Tool::Differentiation(0.5, 1e300), 0.0);
  EXPECT_EQ(Tool::Differentiation(-0.5, 1e300), 0.0);
  EXPECT_EQ(Tool::Differentiation(1.0, 1e300), 1e300);
  // 1e300 is even, so 1e300 - 1 factors of -1 give -1.
  EXPECT_EQ(Tool::Differentiation(-1.0, 1e300), -1e300);
  EXPECT_EQ(Tool::Differentiation(2.0, 1e300), kInf);
  EXPECT_EQ(Tool::Differentiation(-2.0, 1e300), -kInf);
  EXPECT_EQ(Tool::Differentiation(-2.0, 1e9 + 1), kInf);  // 1e9 factors: even
  EXPECT_EQ(Tool::Differentiation(-2.0, 1e9), -kInf);
  EXPECT_EQ(Tool::Differentiation(0.5, kInf), 0.0);
  EXPECT_EQ(Tool::Differentiation(1.0, kInf), kInf);
  EXPECT_EQ(Tool::Differentiation(2.0, kInf), kInf);
  EXPECT_EQ(Tool::Differentiation(0.0, kInf), 0.0);
  EXPECT_TRUE(std::isnan(Tool::Differentiation(2.0, kNaN)));
  EXPECT_TRUE(std::isnan(Tool::Differentiation(kNaN, 1e300)));
  EXPECT_EQ(Tool::Differentiation(2.0, -kInf), -kInf);
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EXPECT_LT(seconds, 1.0);
}

TEST(ToolTest, HomogeneousTransformationRotatesCounterClockwiseThenTranslates) {
  const Eigen::Vector3d v(1.0, 2.0, 3.0);
  const Eigen::Vector4d ex(1, 0, 0, 1), ey(0, 1, 0, 1), ez(0, 0, 1, 1);

  // Z by +90: x axis goes to y.
  Eigen::Vector4d p = Tool::HomogeneousTransformationMatrix('Z', 90.0, v) * ex;
  EXPECT_TRUE(p.isApprox(Eigen::Vector4d(1, 3, 3, 1), 1e-12)) << p.transpose();
  // X by +90: y axis goes to z.
  p = Tool::HomogeneousTransformationMatrix('x', 90.0, v) * ey;
  EXPECT_TRUE(p.isApprox(Eigen::Vector4d(1, 2, 4, 1), 1e-12)) << p.transpose();
  // Y by +90: z axis goes to x.
  p = Tool::HomogeneousTransformationMatrix(std::string("Y"), 90.0, v) * ez;
  EXPECT_TRUE(p.isApprox(Eigen::Vector4d(2, 2, 3, 1), 1e-12)) << p.transpose();

  // Both letter cases give the same matrix, and the last row is (0 0 0 1).
  for (const char* axis : {"x", "y", "z"}) {
    const char upper = static_cast<char>(axis[0] - 'a' + 'A');
    const Eigen::Matrix4d lower_m = Tool::HomogeneousTransformationMatrix(axis, 33.0, v);
    EXPECT_EQ(lower_m, Tool::HomogeneousTransformationMatrix(upper, 33.0, v));
    EXPECT_EQ(lower_m.row(3), Eigen::RowVector4d(0, 0, 0, 1));
    const Eigen::Vector3d translation = lower_m.block<3, 1>(0, 3);
    EXPECT_EQ(translation, v);
    const Eigen::Matrix3d rotation = lower_m.block<3, 3>(0, 0);
    EXPECT_NEAR(rotation.determinant(), 1.0, 1e-12);
  }

  // Any other letter: translation only.
  Eigen::Matrix4d expected = Eigen::Matrix4d::Identity();
  expected.block<3, 1>(0, 3) = v;
  EXPECT_EQ(Tool::HomogeneousTransformationMatrix('Q', 45.0, v), expected);
  EXPECT_EQ(Tool::HomogeneousTransformationMatrix(std::string("XY"), 45.0, v), expected);
  EXPECT_EQ(Tool::HomogeneousTransformationMatrix(std::string(), 45.0, v), expected);
}

}  // namespace
