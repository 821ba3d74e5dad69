#include "tool/kinematics/Kinematics.h"

namespace {
// Angles of the triangle: each lies opposite its side.
const int kKneeAngle = 0;  // opposite the hip-ankle line
const int kHipAngle = 2;   // opposite the shank
}  // namespace

Kinematics::Kinematics(double thigh, double shank)
    : off_set_point_(new Point(0.0, 0.0)),
      break_point_(new Point(0.0, 0.0)),
      target_point_(new Point(0.0, 0.0)),
      line1_(new PointToPoint(off_set_point_, break_point_)),
      line2_(new PointToPoint(break_point_, target_point_)),
      target_line_(new PointToPoint(off_set_point_, target_point_)),
      triangle_(new TrianglePoint(target_line_, line1_, line2_)),
      total_length_(thigh + shank),
      degree1_(0.0),
      degree2_(0.0) {
  line1_->SetDistance(thigh);
  line2_->SetDistance(shank);
}

Kinematics::~Kinematics() {
  delete triangle_;
  delete target_line_;
  delete line2_;
  delete line1_;
  delete target_point_;
  delete break_point_;
  delete off_set_point_;
}

void Kinematics::SettingOffSetPoint(double x, double y) { off_set_point_->SettingPoint(x, y); }

void Kinematics::UpdateKinematics() {
  // The triangle clamps its cosines into [-1, 1]: a target beyond reach
  // stretches the leg towards it, one too near folds it.
  triangle_->UpdateTrianglePoint();
  const TrianglePoint::Angle* angles = triangle_->GetAngles();
  degree1_ = target_line_->GetDegree() - angles[kHipAngle].degree_;
  degree2_ = 180.0 - angles[kKneeAngle].degree_;

  line1_->SetDegree(degree1_);
  line1_->UpdatePointToPointD();
  line2_->SetDegree(degree1_ + degree2_);
  line2_->UpdatePointToPointD();
}
