#include "agent/walking/Walking.h"

#include <gtest/gtest.h>

namespace {

ForceResistance Foot(bool contact, double cx, double fz) {
  ForceResistance f;
  f.existence = contact;
  f.coord = Eigen::Vector3d(cx, 2 * cx, -0.01);
  f.force = Eigen::Vector3d(0.3, 0.1, fz);
  return f;
}

TEST(WalkingTest, CentreOfPressureWeighsTheFeetByTheirForce) {
  Walking wk;
  wk.CalclateZMP(Foot(true, 0.02, 30), Foot(true, -0.04, 10));
  EXPECT_TRUE(wk.GetZMP().isApprox(Eigen::Vector3d(0.005, 0.01, -0.01)));
  // One foot on the ground: its own point.
  wk.CalclateZMP(Foot(false, 0, 0), Foot(true, -0.04, 10));
  EXPECT_TRUE(wk.GetZMP().isApprox(Eigen::Vector3d(-0.04, -0.08, -0.01)));
  // Contact without any vertical force has no centre: the last one stays.
  wk.CalclateZMP(Foot(true, 0.02, 0), Foot(true, -0.04, 0));
  EXPECT_TRUE(wk.GetZMP().isApprox(Eigen::Vector3d(-0.04, -0.08, -0.01)));
  // No contact at all: exactly zero.
  wk.CalclateZMP(Foot(false, 0.02, 30), Foot(false, -0.04, 10));
  EXPECT_EQ(wk.GetZMP(), Eigen::Vector3d::Zero());
}

TEST(WalkingTest, TargetZmpAndCommands) {
  Walking wk;
  wk.SetZMP(Eigen::Vector3d(0, 0, 0.1));
  wk.CalclateTargetZMP(Eigen::Vector3d(0.2, -0.1, 0.3), 9.7);
  // x - x (z - zmp.z) / (g + z)
  EXPECT_NEAR(wk.GetTargetZMP().x(), 0.2 - 0.2 * 0.2 / 10.0, 1e-12);
  EXPECT_NEAR(wk.GetTargetZMP().y(), -0.1 + 0.1 * 0.2 / 10.0, 1e-12);
  wk.CalclateTargetZMP(Eigen::Vector3d(0.2, -0.1, 0.3), -0.3);  // no finite result: kept
  EXPECT_NEAR(wk.GetTargetZMP().x(), 0.196, 1e-12);

  wk.SettingParam(5.0, -0.5, 0.25, true);  // stored unchanged, even beyond 1
  EXPECT_EQ(wk.GetSpeed(), 5.0);
  EXPECT_EQ(wk.GetDirection(), -0.5);
  EXPECT_EQ(wk.GetCurve(), 0.25);
  EXPECT_TRUE(wk.IsOpenFoot());
}

}  // namespace
