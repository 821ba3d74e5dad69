// Forward kinematics of the body and the balance quantities derived from it.
#include <cmath>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "agent/ProcessState.h"
#include "tool/Tool.h"

namespace {

// Transformation of one joint: rotation about the named axis by the joint's
// angle, then translation by the part's offset.
Eigen::Matrix4d J(const char* axis, const HingeJoint& joint, const BodyPart& part) {
  return Tool::HomogeneousTransformationMatrix(axis, joint.rotation, part.l_coord);
}

// Position of a part placed with the chain's running transformation F.
Eigen::Vector3d Place(const Eigen::Matrix4d& F, const Eigen::Vector3d& local) {
  return (F * local.homogeneous()).head<3>();
}

}  // namespace

void Agent::SumAxisRotation() {
  CommonInformation& ci = ci_;
  Eigen::Vector3d sum(2.0 * hj2.rotation, 0.0, 0.0);
  for (int i = 10; i < joint_num; ++i) {
    const HingeJoint& j = *m_joint.at(p_joint[i]);
    if (j.axis.x() == 1.0) {
      sum.x() += j.rotation;
    } else if (j.axis.y() == 1.0) {
      sum.y() += j.rotation;
    } else if (j.axis.z() == 1.0) {
      sum.z() += j.rotation;
    }
  }
  ci.axis_sum_rot_ = sum;
}

void Agent::ClacTotalGyroAngle() {
  CommonInformation& ci = ci_;
  ProcessState& ps = ps_;
  const double dt = ci.br_.game_time - ps.time_span;
  for (int k = 0; k < 3; ++k) {
    ci.total_(k) = Tool::Limited180(
        Tool::TrapezoidIntegration(ci.total_(k), gyro_(k), ps.bef_gyro(k), dt, 0));
  }
  ps.bef_gyro = gyro_;
  ps.time_span = ci.br_.game_time;
}

void Agent::CalcPartWorldCoordinate() {
  // Head: the head sits at the origin of its own joint frame.
  Eigen::Matrix4d F = J("Z", hj1, neck) * J("X", hj2, head);
  head.w_coord = Place(F, Eigen::Vector3d::Zero());

  // Arms.
  F = J("X", raj1, r_shoulder);
  r_upperarm.w_coord = Place(F, r_upperarm.l_coord);
  F = F * J("Z", raj2, r_upperarm);
  r_elbow.w_coord = Place(F, r_elbow.l_coord);
  F = F * J("Y", raj3, r_elbow);
  r_lowerarm.w_coord = Place(F, r_lowerarm.l_coord);

  F = J("X", laj1, l_shoulder);
  l_upperarm.w_coord = Place(F, l_upperarm.l_coord);
  F = F * J("Z", laj2, l_upperarm);
  l_elbow.w_coord = Place(F, l_elbow.l_coord);
  F = F * J("Y", laj3, l_elbow);
  l_lowerarm.w_coord = Place(F, l_lowerarm.l_coord);

  // Legs, down to a point 8 cm ahead of each foot.
  const Eigen::Vector3d tiptoe(0.0, 0.08, 0.0);
  F = J("X", rlj1, r_hip1);
  r_hip2.w_coord = Place(F, r_hip2.l_coord);
  F = F * J("Y", rlj2, r_hip2);
  r_thigh.w_coord = Place(F, r_thigh.l_coord);
  F = F * J("X", rlj3, r_thigh);
  r_shank.w_coord = Place(F, r_shank.l_coord);
  F = F * J("X", rlj4, r_shank);
  r_ankle.w_coord = Place(F, r_ankle.l_coord);
  F = F * J("X", rlj5, r_ankle);
  r_foot.w_coord = Place(F, r_foot.l_coord);
  F = F * J("Y", rlj6, r_foot);
  r_tiptoe = Place(F, tiptoe);

  F = J("X", llj1, l_hip1);
  l_hip2.w_coord = Place(F, l_hip2.l_coord);
  F = F * J("Y", llj2, l_hip2);
  l_thigh.w_coord = Place(F, l_thigh.l_coord);
  F = F * J("X", llj3, l_thigh);
  l_shank.w_coord = Place(F, l_shank.l_coord);
  F = F * J("X", llj4, l_shank);
  l_ankle.w_coord = Place(F, l_ankle.l_coord);
  F = F * J("X", llj5, l_ankle);
  l_foot.w_coord = Place(F, l_foot.l_coord);
  F = F * J("Y", llj6, l_foot);
  l_tiptoe = Place(F, tiptoe);
}

void Agent::CalcGravity() {
  CommonInformation& ci = ci_;
  Eigen::Vector3d sum = Eigen::Vector3d::Zero();
  double mass = 0.0;
  for (const std::string& name : part) {
    const BodyPart& p = *m_part.at(name);
    sum += p.mass * p.w_coord;
    mass += p.mass;
  }
  if (mass > 0.0) ci.gravity_ = sum / mass;
}

void Agent::CalcMomentum() {
  CommonInformation& ci = ci_;
  ProcessState& ps = ps_;
  const double dt = ci.br_.game_time - ps.bef_time;
  Eigen::Vector3d sum = Eigen::Vector3d::Zero();
  double mass = 0.0;
  for (const std::string& name : part) {
    const BodyPart& p = *m_part.at(name);
    for (int k = 0; k < 3; ++k) sum(k) += p.mass * Tool::Differentiation(p.w_coord(k), dt);
    mass += p.mass;
  }
  ci.momentum_ = sum;
  if (mass > 0.0) ci.t_momentum_ = sum / mass;
  ps.bef_time = ci.br_.game_time;
}

void Agent::CalculateZMP() {
  if (!frp_l_.existence && !frp_r_.existence) {
    zmp_.setZero();
    return;
  }
  const double fl = frp_l_.force.z();
  const double fr = frp_r_.force.z();
  const double total = fl + fr;
  // Contact with no vertical force has no centre of pressure: keep the last one.
  if (total == 0.0 || !std::isfinite(total)) return;
  for (int k = 0; k < 2; ++k) {
    zmp_(k) = ((l_foot.l_coord(k) + frp_l_.coord(k)) * fl +
               (r_foot.l_coord(k) + frp_r_.coord(k)) * fr) / total;
  }
}
