#include <gtest/gtest.h>

#include <cmath>
#include <limits>

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
