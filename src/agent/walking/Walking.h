#ifndef VEKTORLING_AGENT_WALKING_WALKING_H
#define VEKTORLING_AGENT_WALKING_WALKING_H

#include <Eigen/Dense>

#include "message/ForceResistance.h"

// The shared walking parameters: the commands tactics give the walk, and the
// feet's centre of pressure used by the stand-up.
class Walking {
public:
  Walking();

  void SettingParam(double speed, double direction, double curve, bool open_foot);
  // Force-weighted centre of pressure of the two feet; (0, 0, 0) when no
  // foot touches the ground. With contact but no total vertical force it
  // has no defined value and keeps the previous one.
  void CalclateZMP(const ForceResistance& frp_l, const ForceResistance& frp_r);
  // Target ZMP from the centre of mass and the vertical acceleration g;
  // keeps the previous value when the division has no finite result.
  void CalclateTargetZMP(const Eigen::Vector3d& com, double g);

  double GetSpeed() const { return speed_; }
  double GetCurrentSpeed() const { return current_speed_; }
  double GetDirection() const { return direction_; }
  double GetCurve() const { return curve_; }
  bool IsOpenFoot() const { return open_foot_; }
  const Eigen::Vector3d& GetZMP() const { return zmp_; }
  const Eigen::Vector2d& GetTargetZMP() const { return tgt_zmp_; }
  void SetSpeed(double v) { speed_ = v; }
  void SetCurrentSpeed(double v) { current_speed_ = v; }
  void SetDirection(double v) { direction_ = v; }
  void SetCurve(double v) { curve_ = v; }
  void SetOpenFoot(bool v) { open_foot_ = v; }
  void SetZMP(const Eigen::Vector3d& z) { zmp_ = z; }
  void SetTargetZMP(const Eigen::Vector2d& z) { tgt_zmp_ = z; }

  double step_;
  double speed_;
  double current_speed_;
  double direction_;
  double curve_;
  double cycle_;
  bool open_foot_;
  Eigen::Vector3d zmp_;
  Eigen::Vector2d tgt_zmp_;
};

#endif
