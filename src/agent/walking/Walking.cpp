#include "agent/walking/Walking.h"

Walking::Walking()
    : step_(0.2),
      speed_(0.0),
      current_speed_(0.0),
      direction_(0.0),
      curve_(0.0),
      cycle_(0.0),
      open_foot_(false),
      zmp_(Eigen::Vector3d::Zero()),
      tgt_zmp_(Eigen::Vector2d::Zero()) {}

void Walking::SettingParam(double speed, double direction, double curve, bool open_foot) {
  speed_ = speed;
  direction_ = direction;
  curve_ = curve;
  open_foot_ = open_foot;
}

void Walking::CalclateZMP(const ForceResistance&, const ForceResistance&) {}

void Walking::CalclateTargetZMP(const Eigen::Vector3d&, double) {}
