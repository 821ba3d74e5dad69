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
  // Correction with measurement z of covariance R. When the innovation
  // covariance P + R cannot be inverted, or anything comes out not finite,
  // the prior is kept: one bad sighting must not ruin the estimate for the
  // rest of the match.
  KalmanValue MeasurementUpdate(const KalmanValue& value, const KalmanVector& z,
                                const KalmanMatrix& R) const;
};

#endif
