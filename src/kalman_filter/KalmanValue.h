#ifndef VEKTORLING_KALMAN_FILTER_KALMANVALUE_H
#define VEKTORLING_KALMAN_FILTER_KALMANVALUE_H

#include <Eigen/Dense>

// Dimension of every estimate: position and velocity in three axes.
constexpr int kKalmanDim = 6;

typedef Eigen::Matrix<double, kKalmanDim, 1> KalmanVector;
typedef Eigen::Matrix<double, kKalmanDim, kKalmanDim> KalmanMatrix;

// A state and its covariance.
struct KalmanValue {
  KalmanVector x = KalmanVector::Zero();
  KalmanMatrix P = KalmanMatrix::Zero();

  KalmanValue() = default;
  KalmanValue(const KalmanVector& state, const KalmanMatrix& covariance)
      : x(state), P(covariance) {}
};

#endif
