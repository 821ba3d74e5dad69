#include "agent/walking/Walking.h"

#include "tool/Tool.h"

void Walking::CalclateZMP(const ForceResistance& frp_l, const ForceResistance& frp_r) {
  if (!frp_l.existence && !frp_r.existence) {
    zmp_ = Eigen::Vector3d::Zero();
    return;
  }
  const double fz_l = frp_l.force.z();
  const double fz_r = frp_r.force.z();
  const Eigen::Vector3d zmp = (frp_l.coord * fz_l + frp_r.coord * fz_r) / (fz_l + fz_r);
  if (zmp.allFinite()) zmp_ = zmp;
}

void Walking::CalclateTargetZMP(const Eigen::Vector3d& com, double g) {
  // The second derivative of the centre of mass, as the toolkit's
  // differentiation with order 1 gives it: the value itself.
  const double ddx = Tool::Differentiation(Tool::Differentiation(com.x(), 1.0), 1.0);
  const double ddy = Tool::Differentiation(Tool::Differentiation(com.y(), 1.0), 1.0);
  const double ddz = Tool::Differentiation(Tool::Differentiation(com.z(), 1.0), 1.0);
  const double lever = (com.z() - zmp_.z()) / (g + ddz);
  const Eigen::Vector2d tgt(com.x() - ddx * lever, com.y() - ddy * lever);
  if (tgt.allFinite()) tgt_zmp_ = tgt;
}
