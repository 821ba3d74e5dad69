#include "coordinate/AbsoluteCoordinate.h"

AbsoluteCoordinate::AbsoluteCoordinate()
    : cod_(Eigen::Vector3d::Zero()),
      before_cod_(Eigen::Vector3d::Zero()),
      before_measure_location_(Eigen::Vector3d::Zero()),
      using_(false),
      abspeed_(Eigen::Vector3d::Zero()),
      before_time_(0.0),
      prev_cod2d_(Eigen::Vector2d::Zero()),
      speed_(0.0),
      acc_(0.0),
      before_distance(0.0),
      before_speed(0.0),
      covariance_error_(Eigen::Matrix<double, 6, 6>::Zero()) {}

// Localisation is not built yet: the estimate stays where it is.
void AbsoluteCoordinate::Update(Object* const*) {}

void AbsoluteCoordinate::UpdateGenerate(const Eigen::Vector3d&, const Eigen::Vector3d&) {}

void AbsoluteCoordinate::CalcAbspeed(double) {}
