#ifndef VEKTORLING_TOOL_KINEMATICS_KINEMATICS_H
#define VEKTORLING_TOOL_KINEMATICS_KINEMATICS_H

#include "tool/point/Point.h"
#include "tool/point/PointToPoint.h"
#include "tool/point/TrianglePoint.h"

// A planar two-link chain (thigh and shank) hanging from a fixed hip.
// Millimetres and degrees, x horizontal, y up, origin at the hip; a point
// straight below the hip has direction -90. Solving places the ankle, lets
// the law of cosines give the triangle's inner angles and rebuilds the knee
// and the ankle from the resulting link directions.
class Kinematics {
 public:
  static constexpr double kThighLength = 125.0;
  static constexpr double kShankLength = 55.0;

  // Thigh and shank lengths in millimetres.
  explicit Kinematics(double thigh = kThighLength, double shank = kShankLength);
  virtual ~Kinematics();
  Kinematics(const Kinematics&) = delete;
  Kinematics& operator=(const Kinematics&) = delete;

  // Solves the chain for the ankle point last set. A target out of reach
  // gives the stretched or the folded leg pointing at it, never NaN.
  virtual void UpdateKinematics();

  // Moves the hip.
  void SettingOffSetPoint(double x, double y);

  double GetTotalLength() const { return total_length_; }
  double GetDegree1() const { return degree1_; }
  double GetDegree2() const { return degree2_; }
  double GetOffSetX() const { return off_set_point_->x_; }
  double GetOffSetY() const { return off_set_point_->y_; }
  double GetBreakX() const { return break_point_->x_; }
  double GetBreakY() const { return break_point_->y_; }
  double GetTargetX() const { return target_point_->x_; }
  double GetTargetY() const { return target_point_->y_; }

 protected:
  Point* off_set_point_;        // hip
  Point* break_point_;          // knee
  Point* target_point_;         // ankle
  PointToPoint* line1_;         // hip to knee (thigh)
  PointToPoint* line2_;         // knee to ankle (shank)
  PointToPoint* target_line_;   // hip to ankle
  TrianglePoint* triangle_;     // sides: target_line_, line1_, line2_
  double total_length_;
  double degree1_;  // thigh direction
  double degree2_;  // knee bend: shank direction relative to the thigh's
};

#endif  // VEKTORLING_TOOL_KINEMATICS_KINEMATICS_H
