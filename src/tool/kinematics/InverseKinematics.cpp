#include "tool/kinematics/InverseKinematics.h"

void InverseKinematics::SettingTarget(double x, double y) {
  target_point_->SettingPoint(x, y);
  target_line_->UpdatePointToPointP();
}
