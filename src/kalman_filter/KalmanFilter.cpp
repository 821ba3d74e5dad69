#include "kalman_filter/KalmanFilter.h"

#include <Eigen/LU>

KalmanValue KalmanFilter::TimeUpdate(const KalmanValue& value, const KalmanMatrix& F,
                                     const KalmanVector& Bu, const KalmanMatrix& Q) const {
  return KalmanValue(F * value.x + Bu, F * value.P * F.transpose() + Q);
}

void KalmanFilter::TimeUpdateConstantVelocity(KalmanVector& x, KalmanMatrix& P, double dt,
                                              const KalmanVector& Bu, double q) const {
  KalmanMatrix F = KalmanMatrix::Identity();
  for (int i = 0; i < 3; ++i) F(i, i + 3) = dt;
  if (P.allFinite()) {
    const Eigen::Matrix<double, 3, 6> top = P.topRows<3>() + dt * P.bottomRows<3>();  // of F P
    if (top.allFinite()) {
      P.topRows<3>() = top;
      P.leftCols<3>() += P.rightCols<3>() * dt;  // (F P) F'
      for (int j = 0; j < kKalmanDim; ++j) {
        for (int i = 0; i < kKalmanDim; ++i) P(i, j) += i == j ? q : 0.0;
      }
      x = F * x + Bu;
      return;
    }
  }
  const KalmanValue out = TimeUpdate(KalmanValue(x, P), F, Bu, q * KalmanMatrix::Identity());
  x = out.x;
  P = out.P;
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
