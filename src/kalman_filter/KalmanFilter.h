#ifndef VEKTORLING_KALMAN_FILTER_KALMANFILTER_H
#define VEKTORLING_KALMAN_FILTER_KALMANFILTER_H

#include "kalman_filter/KalmanValue.h"

// A linear Kalman filter whose measurement is the state itself. Stateless:
// the caller owns the estimate. Fixed-size matrices keep it free of
// allocation, since it runs hundreds of times per cycle.
class KalmanFilter {
public:
  // Prediction: x = F x + Bu, P = F P F' + Q.
  KalmanValue TimeUpdate(const KalmanValue& value, const KalmanMatrix& F,
                         const KalmanVector& Bu, const KalmanMatrix& Q) const;
  // The same prediction, in place, for the constant-velocity model
  // F = [I dt*I; 0 I] with process noise q*I, which is what every position
  // estimate uses. It only computes the entries F can change, and gives bit
  // for bit the result of TimeUpdate: the terms it leaves out are exact
  // zeros, and adding Q turns every zero into +0 either way. A covariance
  // that is or becomes non-finite, where a zero term would be a NaN, takes
  // the general path.
  void TimeUpdateConstantVelocity(KalmanVector& x, KalmanMatrix& P, double dt, const KalmanVector& Bu,
                                  double q) const;
  // Correction with measurement z of covariance R. When the innovation
  // covariance P + R cannot be inverted, or anything comes out not finite,
  // the prior is kept: one bad sighting must not ruin the estimate for the
  // rest of the match.
  KalmanValue MeasurementUpdate(const KalmanValue& value, const KalmanVector& z,
                                const KalmanMatrix& R) const;
};

#endif
