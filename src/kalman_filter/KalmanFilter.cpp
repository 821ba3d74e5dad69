#include "kalman_filter/KalmanFilter.h"

#include <Eigen/LU>

KalmanValue KalmanFilter::TimeUpdate(const KalmanValue& value, const KalmanMatrix& F,
                                     const KalmanVector& Bu, const KalmanMatrix& Q) const {
  return KalmanValue(F * value.x + Bu, F * value.P * F.transpose() + Q);
}

KalmanValue KalmanFilter::MeasurementUpdate(const KalmanValue& value, const KalmanVector& z,
                                            const KalmanMatrix& R) const {
  const KalmanMatrix S = value.P + R;
  if (!S.allFinite() || !z.allFinite()) return value;
  const Eigen::PartialPivLU<KalmanMatrix> lu(S);
  // A singular S gives a zero pivot; the pivoted inverse would be inf/NaN.
  const KalmanMatrix U = lu.matrixLU().triangularView<Eigen::Upper>();
  if ((U.diagonal().array() == 0.0).any()) return value;
  const KalmanMatrix K = value.P * lu.inverse();
  KalmanValue post(value.x + K * (z - value.x),
                   (KalmanMatrix::Identity() - K) * value.P);
  if (!post.x.allFinite() || !post.P.allFinite()) return value;
  return post;
}
