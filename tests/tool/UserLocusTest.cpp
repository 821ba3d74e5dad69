#include "tool/UserLocus.h"

#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

TEST(UserLocusTest, BuiltInLoopsAndTheFirstStep) {
  UserLocus locus;
  const struct {
    size_t points;
    double center_y, step_length;
  } loops[] = {{6, -153.5, 51}, {6, -149.875, 51}, {6, -161, 18}, {10, -157.5, 10}};
  ASSERT_EQ(locus.GetLocuses().size(), 4u);
  for (int i = 0; i < 4; ++i) {
    SCOPED_TRACE(i);
    const UserLocus::Data& d = locus.GetLocuses()[i];
    EXPECT_EQ(d.targets.size(), loops[i].points);
    EXPECT_DOUBLE_EQ(d.center_y, loops[i].center_y);
    EXPECT_DOUBLE_EQ(d.step_length, loops[i].step_length);
  }
  // The backward loop walks the forward loop's points in reverse.
  const double back[6][2] = {{16, -159}, {-7, -164}, {-34, -158}, {-35, -146}, {-7, -145}, {16, -149}};
  for (int k = 0; k < 6; ++k) {
    EXPECT_EQ(locus.GetLocuses()[LOCUS_BACK].targets[k].x_, back[k][0]);
    EXPECT_EQ(locus.GetLocuses()[LOCUS_BACK].targets[k].y_, back[k][1]);
  }
  EXPECT_EQ(locus.GetRightTargetX(), 16);
  EXPECT_EQ(locus.GetRightTargetY(), -149);
  EXPECT_EQ(locus.GetLeftTargetX(), -34);
  EXPECT_EQ(locus.GetLeftTargetY(), -158);
  EXPECT_EQ(locus.GetCycle().GetValue(), 1);
  EXPECT_EQ(locus.GetCycle().GetMax(), 5);
  EXPECT_EQ(locus.GetTergetCenterY(), -153.5);
}

TEST(UserLocusTest, TheLeftFootRunsHalfALoopAheadOfTheRight) {
  // Indices of the points handed to each foot, step by step.
  const struct {
    LocusType type;
    std::vector<int> right, left;
  } cases[] = {
      {LOCUS_FORWORD, {1, 2, 3, 4, 5, 0, 1}, {4, 5, 0, 1, 2, 3, 4}},
      // Switching to the ten-point loop from point 1: five points apart.
      {LOCUS_STAMP_SLOW, {1, 2, 3, 4, 5, 6, 7, 8, 9, 0}, {6, 7, 8, 9, 0, 1, 2, 3, 4, 5}},
  };
  for (const auto& c : cases) {
    UserLocus locus;
    locus.InitLocusType(c.type);
    const auto& pts = locus.GetLocuses()[c.type].targets;
    for (size_t k = 0; k < c.right.size(); ++k) {
      locus.UpdatePoint();
      EXPECT_EQ(locus.GetRightTargetX(), pts[c.right[k]].x_) << k;
      EXPECT_EQ(locus.GetRightTargetY(), pts[c.right[k]].y_) << k;
      EXPECT_EQ(locus.GetLeftTargetX(), pts[c.left[k]].x_) << k;
      EXPECT_EQ(locus.GetLeftTargetY(), pts[c.left[k]].y_) << k;
    }
  }
  // From point 8 of the ten-point loop to a six-point loop: it starts over.
  UserLocus locus;
  locus.InitLocusType(LOCUS_STAMP_SLOW);
  for (int k = 0; k < 7; ++k) locus.UpdatePoint();
  ASSERT_EQ(locus.GetCycle().GetValue(), 8);
  locus.InitLocusType(LOCUS_STAMP_DETAIL);
  locus.UpdatePoint();
  EXPECT_EQ(locus.GetRightTargetY(), -174);
  EXPECT_EQ(locus.GetLeftTargetY(), -150);
  EXPECT_EQ(locus.GetCycle().GetValue(), 1);
}

TEST(UserLocusTest, PointListReader) {
  const struct {
    const char* text;
    std::vector<double> xyz;  // the points' numbers in order
  } cases[] = {
      {"1,2,34\n", {1, 2, 34}},
      {"5,-150,0", {}},                          // no line feed: no point
      {" 1.5, -2e1,x\n7\n9,8,7", {1.5, -20, 0, 7, 0, 0}},  // text after the last line feed ignored
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    UserLocus::Data d;
    d.targets.resize(3);  // reading replaces what was there
    UserLocus::InputDirectCSV(c.text, d);
    std::vector<double> got;
    for (const auto& p : d.targets) got.insert(got.end(), {p.x_, p.y_, p.degree_lj5_});
    EXPECT_EQ(got, c.xyz);
  }
  UserLocus::Data empty;
  UserLocus::InputDirectCSV("", empty);
  EXPECT_TRUE(std::isnan(empty.center_y));
  EXPECT_NEAR(empty.step_length, 19999.8, 1e-9);
}

}  // namespace
