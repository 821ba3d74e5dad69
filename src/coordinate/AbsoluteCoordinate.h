#ifndef VEKTORLING_COORDINATE_ABSOLUTECOORDINATE_H
#define VEKTORLING_COORDINATE_ABSOLUTECOORDINATE_H

#include <Eigen/Dense>

class Object;

// Position-and-velocity estimate of one thing on the field (the robot, the
// ball, or a body part of another player), in the field frame.
// The estimators themselves come with localisation; until then the
// operations keep the estimate where it is.
class AbsoluteCoordinate {
public:
  AbsoluteCoordinate();

  // Feed the eight landmarks (array of eight pointers) to the own estimate.
  void Update(Object* const* flags);
  // Feed a relative sighting plus the observer's position.
  void UpdateGenerate(const Eigen::Vector3d& rel, const Eigen::Vector3d& own);
  // Planar speed and acceleration from the position change since the last call.
  void CalcAbspeed(double game_time);

  const Eigen::Vector3d& GetCoordinate() const { return cod_; }
  bool GetUsing() const { return using_; }
  double GetSpeed() const { return speed_; }
  double GetAcc() const { return acc_; }

  Eigen::Vector3d cod_;
  Eigen::Vector3d before_cod_;
  Eigen::Vector3d before_measure_location_;
  bool using_;
  Eigen::Vector3d abspeed_;
  double before_time_;
  Eigen::Vector2d prev_cod2d_;
  double speed_;
  double acc_;
  double before_distance;
  double before_speed;
  Eigen::Matrix<double, 6, 6> covariance_error_;
};

#endif
