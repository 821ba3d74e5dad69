#ifndef VEKTORLING_COORDINATE_ABSOLUTECOORDINATE_H
#define VEKTORLING_COORDINATE_ABSOLUTECOORDINATE_H

#include <Eigen/Dense>

#include "coordinate/EstimateInputs.h"
#include "kalman_filter/KalmanFilter.h"

class Object;

// Position-and-velocity estimate of one thing on the field (the robot, the
// ball, or a body part of another player) in the field frame: corner flags
// at x = +-10, y = +-15, the opponent's goal at y = -15.
class AbsoluteCoordinate {
public:
  // What is estimated decides the motion model and how sightings enter.
  enum Kind { OWN, BALL, OTHER };

  explicit AbsoluteCoordinate(Kind kind = OTHER);

  // The robot's own estimate from the eight landmarks (array of eight
  // pointers, landmark order); coasts on the walk when nothing is seen.
  void Update(Object* const* flags, const EstimateInputs& in);
  // The ball's (kind BALL) or another player's part (any other kind) from
  // its relative vector and the robot's own position.
  void UpdateGenerate(const Eigen::Vector3d& obj_rel, const Eigen::Vector3d& my_abs,
                      const EstimateInputs& in);
  // Planar speed since the last vision message; nothing in a cycle without
  // vision (see false).
  void CalcAbspeed(const double& time, bool see);
  void ResetSpeed() { speed_ = 0.0; }

  const Eigen::Vector3d& GetCoordinate() const { return cod_; }
  double GetCoordinate(int i) const { return cod_(i); }
  const Eigen::Vector3d& GetAbspeed() const { return abspeed_; }
  double GetAbspeed(int i) const { return abspeed_(i); }
  double GetSpeed() const { return speed_; }

  Eigen::Vector3d cod_;
  Eigen::Vector3d before_measure_location_;
  Eigen::Vector3d abspeed_;
  double before_time_;
  Eigen::Vector2d prev_cod2d_;
  double speed_;
  KalmanMatrix covariance_error_;

private:
  Kind kind_;

  KalmanValue State() const;
  void SetState(const KalmanValue& value);
  // One prediction step with the given process noise and input.
  void Predict(double q, const Eigen::Vector3d& u);
};

#endif
