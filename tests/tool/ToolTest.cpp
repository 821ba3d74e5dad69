#include "tool/Tool.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>

#include <gtest/gtest.h>

namespace {

const double kInf = std::numeric_limits<double>::infinity();
const double kNaN = std::numeric_limits<double>::quiet_NaN();

// One computed value with the value it should have, labelled by its expression.
struct Case {
  const char* what;
  double got;
  double want;
};
#define CASE(expr, want) \
  Case { #expr, (expr), (want) }

// Compares within tol (relative above 1); infinities and NaN must match exactly.
void Expect(std::initializer_list<Case> cases, double tol = 1e-9) {
  for (const Case& c : cases) {
    EXPECT_TRUE(c.got == c.want ||
                std::fabs(c.got - c.want) <= tol * std::max(1.0, std::fabs(c.want)) ||
                (std::isnan(c.got) && std::isnan(c.want)))
        << c.what << " is " << c.got << ", not " << c.want;
  }
}

TEST(ToolTest, AnglesDistancesAndBearings) {
  const double c100 = std::cos(Tool::ToRadians(100.0)), s100 = std::sin(Tool::ToRadians(100.0));
  Expect({CASE(Tool::Limited180(180.0), -180.0), CASE(Tool::Limited180(-180.0), 180.0),
          CASE(Tool::Limited180(-0.0), 0.0), CASE(Tool::Limited180(190.0), -170.0),
          CASE(Tool::Limited180(-190.0), 170.0), CASE(Tool::Limited180(720.0), 0.0),
          CASE(Tool::Limited180(-540.0), 180.0), CASE(Tool::Limited180(36045.0), 45.0),
          CASE(Tool::Limited360(-90.0), 270.0), CASE(Tool::Limited360(360.0), 0.0),
          CASE(Tool::Limited360(-180.0), 180.0), CASE(Tool::Limited360(725.0), 5.0),
          CASE(Tool::DistanceForTwoPoints(Eigen::Vector2d(1, 2), Eigen::Vector2d(4, 6)), 5.0),
          CASE(Tool::DistanceForTwoPoints3D(1, 2, 3, 3, 5, 9), 7.0),
          CASE(Tool::DegreeForTwoPoints(0, 0, -1, 0), 180.0),
          CASE(Tool::DegreeForTwoPoints(0, 0, 0, -1), -90.0),
          CASE(Tool::DegreeForTwoPoints(3, 3, 3, 3), 0.0),
          // Bearing of point 2 from point 1, not the other way round.
          CASE(Tool::DegreeForTwoPoints(Eigen::Vector2d(2, 2), Eigen::Vector2d(1, 1)), -135.0),
          CASE(Tool::DegreeForTwoPoints3D(1, 0, 0, 0, 0, 5), 90.0),
          CASE(Tool::DegreeForTwoPoints3D(0, 0, 0, 1, 0, 0), 0.0),
          CASE(Tool::CulculatePoint(2.0, 90.0, 1.0, -1.0).x(), 1.0),
          CASE(Tool::CulculatePoint(1.0, -135.0, 0.0, 0.0).y(), -std::sqrt(0.5)),
          // Bearing straight up (+y) is 90, plus 90 wraps to -180; 170 - (-170)
          // goes one turn back.
          CASE(Tool::AbyssForTwoPoints(0, 0, 0, 1, 0.0), 180.0),
          CASE(Tool::AbyssForTwoPoints(0, 0, 1, 0, 30.0), -60.0),
          CASE(Tool::AbyssForTwoPoints(0, 0, c100, s100, 170.0), -20.0),
          CASE(Tool::AbyssForTwoPoints(0, 0, -c100, s100, -170.0), 20.0),
          // The upper bound is applied first.
          CASE(Tool::LimitParam(5, 0, 3), 3.0), CASE(Tool::LimitParam(-1, 0, 3), 0.0),
          CASE(Tool::LimitParam(2, 0, 3), 2.0), CASE(Tool::LimitParam(2, 4, 3), 4.0)});
  // acos is steep near 1: one unit of rounding is about 1e-6 degrees.
  Expect({CASE(Tool::DegreeForTwoPoints3D(1, 1, 0, 2, 2, 0), 0.0),
          CASE(Tool::DegreeForTwoPoints3D(1, 2, 3, -2, -4, -6), 180.0)},
         1e-5);
}

TEST(ToolTest, CosinesRoundingPastOneGiveFlatAnglesNotNaN) {
  // Parallel vectors whose cosine rounds past 1.
  const double x1 = 0.05, y1 = 0.7, z1 = 0.3, x2 = x1 * 0.1, y2 = y1 * 0.1, z2 = z1 * 0.1;
  ASSERT_GT((x1 * x2 + y1 * y2 + z1 * z2) /
                (std::sqrt(x1 * x1 + y1 * y1 + z1 * z1) * std::sqrt(x2 * x2 + y2 * y2 + z2 * z2)),
            1.0);
  Expect({CASE(Tool::DegreeForTwoPoints3D(x1, y1, z1, x2, y2, z2), 0.0),
          CASE(Tool::DegreeForTwoPoints3D(x1, y1, z1, -x2, -y2, -z2), 180.0),
          CASE(Tool::TheoremOfCosines(5, 3, 4), 90.0), CASE(Tool::TheoremOfCosines(1, 1, 1), 60.0),
          // Flat triangles: 0 opposite the vanishing side, 180 opposite the longest.
          CASE(Tool::TheoremOfCosines(0, 2, 2), 0.0), CASE(Tool::TheoremOfCosines(4, 1, 3), 180.0),
          // Sides that cannot close give cosines past +-1.
          CASE(Tool::TheoremOfCosines(0.5, 3, 1), 0.0),
          CASE(Tool::TheoremOfCosines(10, 3, 1), 180.0)});
  bool saw_rounding_case = false;
  for (double b = 0.1; b < 10.0; b += 0.037) {
    const double c = b * 1.3, a = c - b;
    saw_rounding_case |= (b * b + c * c - a * a) / (2 * b * c) > 1.0;
    EXPECT_NEAR(Tool::TheoremOfCosines(a, b, c), 0.0, 1e-4) << b;  // fails for NaN too
  }
  EXPECT_TRUE(saw_rounding_case);
}

TEST(ToolTest, TrapezoidIntegration) {
  Expect({// Samples of opposite sign: the two triangles cancel.
          CASE(Tool::TrapezoidIntegration(10, -1, 1, 0.2), 10.0),
          // Zero crossing at 0.05 of 0.2: 1 * 0.05 / 2 - 3 * 0.15 / 2 = -0.2.
          CASE(Tool::TrapezoidIntegration(1, -3, 1, 0.2), 1.2),
          CASE(Tool::TrapezoidIntegration(1, 3, -1, 0.2), 0.8),
          CASE(Tool::TrapezoidIntegration(10, 2, 0, 0.5), 9.5),
          CASE(Tool::TrapezoidIntegration(0, -2, -4, 0.5), 1.5),
          CASE(Tool::TrapezoidIntegration(10, 2, 0, 0.5, -1),
               9.5),  // direction changes nothing
                      // A NaN sample leaves the target unchanged.
          CASE(Tool::TrapezoidIntegration(7, kNaN, 1, 0.2), 7.0),
          CASE(Tool::TrapezoidIntegration(7, 1, kNaN, 0.2), 7.0)});
}

TEST(ToolTest, DifferentiationIsNTimesXToTheNMinusOne) {
  Expect(
      {CASE(Tool::Differentiation(3, 2), 6.0), CASE(Tool::Differentiation(2, 4), 32.0),
       CASE(Tool::Differentiation(5, 1), 5.0), CASE(Tool::Differentiation(5, -3), -15.0),
       CASE(Tool::Differentiation(-2, 3), 12.0), CASE(Tool::Differentiation(-2, 4), -32.0),
       // A fractional exponent counts ceil(n) - 1 factors: 2.5 * 2^2.
       CASE(Tool::Differentiation(2, 2.5), 10.0),
       CASE(Tool::Differentiation(2.0, kNaN), kNaN)});
}

}  // namespace
