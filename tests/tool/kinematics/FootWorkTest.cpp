#include "tool/kinematics/FootWork.h"

#include <cmath>

#include <gtest/gtest.h>

namespace {

TEST(FootWorkTest, AnkleTargetsGiveHipPitchAndKneeAndTheRebuiltLegReachesThem) {
  const struct {
    double x, y, lj3, lj4;
  } cases[] = {
      {0, -180, 0.0, 0.0},  // stretched straight down
      {0, -150, 20.61, -73.74},
      {20, -150, 12.63, -72.00},
      {-20, -150, 27.82, -72.00},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.x);
    FootWork leg;
    leg.SettingTarget(c.x, c.y);
    leg.UpdateFootWork();
    EXPECT_NEAR(leg.GetDegreeLJ3(), c.lj3, 0.01);
    EXPECT_NEAR(leg.GetDegreeLJ4(), c.lj4, 0.01);
    EXPECT_EQ(leg.GetDegreeLJ5(), 0.0);
    EXPECT_NEAR(leg.GetTargetX(), c.x, 1e-6);
    EXPECT_NEAR(leg.GetTargetY(), c.y, 1e-6);
    // The knee lies 125 from the hip and 55 from the ankle.
    EXPECT_NEAR(std::hypot(leg.GetBreakX(), leg.GetBreakY()), 125.0, 1e-6);
    EXPECT_NEAR(std::hypot(leg.GetBreakX() - c.x, leg.GetBreakY() - c.y), 55.0, 1e-6);
  }
  FootWork leg;
  EXPECT_EQ(leg.GetTotalLength(), 180.0);
  EXPECT_NEAR(leg.GetDegreeStandardShank(), -92.29, 0.01);
  EXPECT_NEAR(leg.GetDegreeStandardAnkle(), -79.70, 0.01);
}

TEST(FootWorkTest, TargetsOutOfReachStretchOrFoldTheLegTowardsThem) {
  const struct {
    double x, y;
    double lj4;     // knee: stretched 0, folded -180
    double reach;   // where the rebuilt ankle ends, from the hip
  } cases[] = {
      {0, -250, 0.0, 180.0}, {-120, -200, 0.0, 180.0},  // too far
      {0, -40, -180.0, 70.0}, {30, -30, -180.0, 70.0},   // too near
      {0, 0, -180.0, 70.0},                              // at the hip
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.y);
    FootWork leg;
    leg.SettingTarget(c.x, c.y);
    leg.UpdateFootWork();
    EXPECT_FALSE(std::isnan(leg.GetDegreeLJ3()));
    EXPECT_NEAR(leg.GetDegreeLJ4(), c.lj4, 1e-6);
    EXPECT_NEAR(std::hypot(leg.GetTargetX(), leg.GetTargetY()), c.reach, 1e-6);
  }
}

}  // namespace
