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
  // Centre of pressure of the feet and the target ZMP; they come with the
  // walking engine and until then leave the values as they are.
  void CalclateZMP(const ForceResistance& frp_l, const ForceResistance& frp_r);
  void CalclateTargetZMP(const Eigen::Vector3d& com, double g);

  double GetSpeed() const { return speed_; }
  double GetCurrentSpeed() const { return current_speed_; }
  double GetDirection() const { return direction_; }
  double GetCurve() const { return curve_; }
  bool IsOpenFoot() const { return open_foot_; }
  const Eigen::Vector3d& GetZMP() const { return zmp_; }
  const Eigen::Vector2d& GetTargetZMP() const { return tgt_zmp_; }
  void SetCurrentSpeed(double v) { current_speed_ = v; }
  void SetZMP(const Eigen::Vector3d& z) { zmp_ = z; }

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
