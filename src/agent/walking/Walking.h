#ifndef VEKTORLING_AGENT_WALKING_WALKING_H
#define VEKTORLING_AGENT_WALKING_WALKING_H

#include <Eigen/Dense>

#include "agent/walking/WalkEngine.h"
#include "message/ForceResistance.h"

// What the tactics ask of the walk (written by the tactics, read by the walk
// engine and the position estimate), and the feet's centre of pressure that
// the stand-up reads.
class Walking {
public:
  void SettingParam(double speed, double direction, double curve, bool open_foot) {
    command_.speed = speed;
    command_.direction = direction;
    command_.curve = curve;
    command_.open_foot = open_foot;
  }
  // Force-weighted centre of pressure of the two feet, each in its own
  // sensor frame; (0, 0, 0) when no foot touches the ground. With contact
  // but no total vertical force it has no defined value and keeps the
  // previous one.
  void CalclateZMP(const ForceResistance& frp_l, const ForceResistance& frp_r);
  // Target ZMP from the centre of mass and the vertical acceleration g;
  // keeps the previous value when the division has no finite result.
  void CalclateTargetZMP(const Eigen::Vector3d& com, double g);

  const WalkCommand& Command() const { return command_; }
  double GetSpeed() const { return command_.speed; }
  double GetDirection() const { return command_.direction; }
  double GetCurve() const { return command_.curve; }
  bool IsOpenFoot() const { return command_.open_foot; }
  const Eigen::Vector3d& GetZMP() const { return zmp_; }
  const Eigen::Vector2d& GetTargetZMP() const { return tgt_zmp_; }

private:
  WalkCommand command_;
  Eigen::Vector3d zmp_ = Eigen::Vector3d::Zero();
  Eigen::Vector2d tgt_zmp_ = Eigen::Vector2d::Zero();
};

#endif
