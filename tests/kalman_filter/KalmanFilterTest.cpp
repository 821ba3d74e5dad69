#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include <Eigen/LU>

#include "kalman_filter/KalmanFilter.h"

namespace {

KalmanVector V(double a, double b = 0, double c = 0, double d = 0, double e = 0, double f = 0) {
  KalmanVector v;
  v << a, b, c, d, e, f;
  return v;
}

const KalmanMatrix I = KalmanMatrix::Identity();

TEST(KalmanFilterTest, TimeUpdatePredictsStateAndCovariance) {
  KalmanFilter kf;
  const KalmanValue v(V(1, 2, 3, 4, 5, 6), 2.0 * I);
  // Identity motion, no input, no noise: nothing changes.
  const KalmanValue same = kf.TimeUpdate(v, I, KalmanVector::Zero(), KalmanMatrix::Zero());
  EXPECT_EQ(same.x, v.x);
  EXPECT_EQ(same.P, v.P);

  KalmanMatrix F = I;
  F(0, 3) = 0.5;  // position advances by half the velocity
  const KalmanValue p = kf.TimeUpdate(v, F, V(0.1), 0.25 * I);
  EXPECT_DOUBLE_EQ(p.x(0), 1 + 0.5 * 4 + 0.1);
  EXPECT_DOUBLE_EQ(p.P(0, 0), 2 + 0.25 * 2 + 0.25);  // F P F' + Q
  EXPECT_DOUBLE_EQ(p.P(0, 3), 0.5 * 2);
  EXPECT_DOUBLE_EQ(p.P(3, 0), 0.5 * 2);
}

// The constant-velocity prediction must agree with the general one bit for
// bit (signs of zero included), also where a covariance is not finite.
TEST(KalmanFilterTest, ConstantVelocityPredictionIsTheGeneralOneExactly) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  std::mt19937 rng(3);
  std::uniform_real_distribution<double> value(-1e3, 1e3);
  KalmanMatrix F = I;
  for (int i = 0; i < 3; ++i) F(i, i + 3) = 0.02;
  for (int round = 0; round < 200; ++round) {
    KalmanValue v;
    for (int i = 0; i < 36; ++i) v.P(i) = round % 3 == 0 ? -0.0 : value(rng);
    for (int i = 0; i < 6; ++i) v.x(i) = round % 4 == 0 ? -0.0 : value(rng);
    if (round % 5 == 1) v.P(round % 36) = round % 2 ? inf : nan;
    if (round % 7 == 2) v.P(4, 1) = 1e308;  // overflows in F P
    const KalmanVector bu = round % 2 ? V(-0.0, -0.0, -0.0, 0, 0, 0) : V(value(rng), 1, 2, 3, 4, 5);
    const KalmanValue general = KalmanFilter().TimeUpdate(v, F, bu, 0.006 * I);
    KalmanFilter().TimeUpdateConstantVelocity(v.x, v.P, 0.02, bu, 0.006);
    ASSERT_EQ(std::memcmp(general.P.data(), v.P.data(), sizeof(double) * 36), 0) << "round " << round;
    ASSERT_EQ(std::memcmp(general.x.data(), v.x.data(), sizeof(double) * 6), 0) << "round " << round;
  }
}

// The correction inverts P + R its own way, which must give the library's
// general inverse bit for bit, for well and badly conditioned matrices.
TEST(KalmanFilterTest, CorrectionIsTheGeneralFormulaExactly) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> value(-1.0, 1.0);
  for (int round = 0; round < 20000; ++round) {
    KalmanValue v;
    KalmanMatrix R;
    for (int i = 0; i < 36; ++i) {
      v.P(i) = value(rng) * std::pow(10.0, static_cast<int>(rng() % 9) - 4);
      R(i) = round % 4 == 0 ? 0.0 : value(rng);
    }
    if (round % 5 == 0) v.P.row(2) = v.P.row(3) * 1.0000001;  // nearly singular
    const KalmanVector z = V(value(rng), value(rng), 1, 2, 3, 4);
    const KalmanMatrix S = v.P + R;
    const Eigen::PartialPivLU<KalmanMatrix> lu(S);
    const KalmanMatrix K = v.P * lu.inverse();
    const KalmanValue want(v.x + K * (z - v.x), (I - K) * v.P);
    const KalmanValue got = KalmanFilter().MeasurementUpdate(v, z, R);
    if (!want.P.allFinite() || !want.x.allFinite()) continue;  // kept prior instead
    ASSERT_EQ(std::memcmp(want.P.data(), got.P.data(), sizeof(double) * 36), 0) << "round " << round;
    ASSERT_EQ(std::memcmp(want.x.data(), got.x.data(), sizeof(double) * 6), 0) << "round " << round;
  }
}

TEST(KalmanFilterTest, MeasurementUpdateWeighsPriorAgainstMeasurement) {
  KalmanFilter kf;
  // Every axis is the scalar case: x = 0, P = 1, z = 2, R = 1 gives gain 0.5.
  const KalmanValue half = kf.MeasurementUpdate(KalmanValue(KalmanVector::Zero(), I),
                                                V(2, 2, 2, 2, 2, 2), I);
  EXPECT_TRUE(half.x.isApprox(V(1, 1, 1, 1, 1, 1)));
  EXPECT_TRUE(half.P.isApprox(0.5 * I));

  // A perfect measurement is taken as it is; a perfect prior is kept.
  const KalmanValue exact = kf.MeasurementUpdate(KalmanValue(V(5), 3.0 * I), V(-1, 7), KalmanMatrix::Zero());
  EXPECT_TRUE(exact.x.isApprox(V(-1, 7)));
  EXPECT_TRUE(exact.P.isZero(1e-15));
  const KalmanValue kept = kf.MeasurementUpdate(KalmanValue(V(5), KalmanMatrix::Zero()), V(-1, 7), I);
  EXPECT_EQ(kept.x, V(5));
  EXPECT_TRUE(kept.P.isZero());
}

TEST(KalmanFilterTest, SingularOrBrokenMeasurementsKeepThePrior) {
  KalmanFilter kf;
  const KalmanValue prior(V(1, 2, 3), KalmanMatrix::Zero());
  // P + R = 0 cannot be inverted.
  KalmanValue post = kf.MeasurementUpdate(prior, V(9, 9, 9), KalmanMatrix::Zero());
  EXPECT_EQ(post.x, prior.x);
  EXPECT_TRUE(post.x.allFinite());

  const double nan = std::numeric_limits<double>::quiet_NaN();
  post = kf.MeasurementUpdate(KalmanValue(V(1), I), V(nan), I);
  EXPECT_EQ(post.x, V(1));
  KalmanMatrix R = I;
  R(2, 2) = std::numeric_limits<double>::infinity();
  post = kf.MeasurementUpdate(KalmanValue(V(1), I), V(3), R);
  EXPECT_EQ(post.x, V(1));
}

}  // namespace
