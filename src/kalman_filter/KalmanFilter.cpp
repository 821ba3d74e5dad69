#include "kalman_filter/KalmanFilter.h"

#include <Eigen/LU>

namespace {

// The inverse of the 6 x 6 matrix whose partially pivoted LU factors lu
// holds, computed with exactly the operations, in exactly the order, that
// Eigen's lu.inverse() uses for it (forward and back substitution in
// panels of four rows, the rest of each panel's column updated by one
// accumulated sum), but without its general blocked machinery, which costs
// most of the time at this size. The filter's results stay the same to
// the last bit.
KalmanMatrix InverseOf(const Eigen::PartialPivLU<KalmanMatrix>& lu) {
  static_assert(kKalmanDim == 6, "the panels below are laid out for six rows");
  KalmanMatrix x = lu.permutationP() * KalmanMatrix::Identity();
  const KalmanMatrix& m = lu.matrixLU();
  for (int j = 0; j < kKalmanDim; ++j) {
    double* c = &x(0, j);
    // L y = P e_j, L with a unit diagonal: rows 0-3, then 4-5.
    for (int k = 0; k < 3; ++k) {
      for (int r = k + 1; r < 4; ++r) c[r] -= c[k] * m(r, k);
    }
    for (int r = 4; r < 6; ++r) {
      double sum = 0.0;
      for (int k = 0; k < 4; ++k) sum += m(r, k) * c[k];
      c[r] = -sum + c[r];
    }
    c[5] -= c[4] * m(5, 4);
    // U x = y: rows 5-2, then 1-0.
    for (int i = 5; i >= 2; --i) {
      c[i] *= 1.0 / m(i, i);
      for (int r = 2; r < i; ++r) c[r] -= c[i] * m(r, i);
    }
    for (int r = 0; r < 2; ++r) {
      double sum = 0.0;
      for (int k = 2; k < 6; ++k) sum += m(r, k) * c[k];
      c[r] = -sum + c[r];
    }
    c[1] *= 1.0 / m(1, 1);
    c[0] -= c[1] * m(0, 1);
    c[0] *= 1.0 / m(0, 0);
  }
  return x;
}

}  // namespace

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
  const KalmanMatrix inverse = InverseOf(lu);
  const KalmanMatrix K = value.P * inverse;
  KalmanValue post(value.x + K * (z - value.x),
                   (KalmanMatrix::Identity() - K) * value.P);
  if (!post.x.allFinite() || !post.P.allFinite()) return value;
  return post;
}
