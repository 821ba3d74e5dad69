// Forward kinematics of the body and the balance quantities derived from it.
#include "nao_model/Body.h"

#include <cmath>

#include "tool/Tool.h"

namespace {

Eigen::Vector3d Offset(PartId p) {
  const PartSpec& s = NaoModel::kPartTable[p];
  return Eigen::Vector3d(s.x, s.y, s.z);
}

// Transformation of one joint: rotation about the named axis by the joint's
// angle, then translation by the part's offset.
Eigen::Matrix4d J(const char* axis, double angle, PartId part) {
  return Tool::HomogeneousTransformationMatrix(axis, angle, Offset(part));
}

// Position of a part placed with the chain's running transformation F.
Eigen::Vector3d Place(const Eigen::Matrix4d& F, const Eigen::Vector3d& local) {
  return (F * local.homogeneous()).head<3>();
}

}  // namespace

void Body::Update(double game_time, BodyState* body, Eigen::Vector3d* total) {
  body->axis_sum_rot = SumAxisRotation(body->joint);
  body->touching_leg = JudgeTouchingLeg(*body, body->touching_leg);
  ClacTotalGyroAngle(body->gyro, game_time, total);
  CalcPartWorldCoordinate(body->joint, body);
  body->gravity = CalcGravity(*body);
  CalcMomentum(game_time, body);
  CalculateZMP(body->frp_l, body->frp_r, &body->zmp);
}

Eigen::Vector3d Body::SumAxisRotation(const JointAngles& joint) {
  Eigen::Vector3d sum(2.0 * joint[kHj2], 0.0, 0.0);
  for (int i = kLlj1; i < kJointCount; ++i) {
    const JointSpec& j = NaoModel::kJointTable[i];
    if (j.ax == 1.0) {
      sum.x() += joint[i];
    } else if (j.ay == 1.0) {
      sum.y() += joint[i];
    } else if (j.az == 1.0) {
      sum.z() += joint[i];
    }
  }
  return sum;
}

char Body::JudgeTouchingLeg(const BodyState& body, char previous) {
  const bool left = body.frp_l.existence;
  const bool right = body.frp_r.existence;
  if (left && right) return 'B';
  if (right) return 'R';
  if (left) return 'L';
  return previous;
}

void Body::ClacTotalGyroAngle(const Eigen::Vector3d& gyro, double game_time,
                              Eigen::Vector3d* total) {
  const double dt = game_time - time_span_;
  for (int k = 0; k < 3; ++k) {
    (*total)(k) = Tool::Limited180(
        Tool::TrapezoidIntegration((*total)(k), gyro(k), bef_gyro_(k), dt, 0));
  }
  bef_gyro_ = gyro;
  time_span_ = game_time;
}

void Body::CalcPartWorldCoordinate(const JointAngles& q, BodyState* body) {
  Eigen::Vector3d* w = body->part;
  // Head: the head sits at the origin of its own joint frame.
  Eigen::Matrix4d F = J("Z", q[kHj1], kNeck) * J("X", q[kHj2], kHead);
  w[kHead] = Place(F, Eigen::Vector3d::Zero());

  // Arms.
  F = J("X", q[kRaj1], kRShoulder);
  w[kRUpperarm] = Place(F, Offset(kRUpperarm));
  F = F * J("Z", q[kRaj2], kRUpperarm);
  w[kRElbow] = Place(F, Offset(kRElbow));
  F = F * J("Y", q[kRaj3], kRElbow);
  w[kRLowerarm] = Place(F, Offset(kRLowerarm));

  F = J("X", q[kLaj1], kLShoulder);
  w[kLUpperarm] = Place(F, Offset(kLUpperarm));
  F = F * J("Z", q[kLaj2], kLUpperarm);
  w[kLElbow] = Place(F, Offset(kLElbow));
  F = F * J("Y", q[kLaj3], kLElbow);
  w[kLLowerarm] = Place(F, Offset(kLLowerarm));

  // Legs, down to a point 8 cm ahead of each foot.
  const Eigen::Vector3d tiptoe(0.0, 0.08, 0.0);
  F = J("X", q[kRlj1], kRHip1);
  w[kRHip2] = Place(F, Offset(kRHip2));
  F = F * J("Y", q[kRlj2], kRHip2);
  w[kRThigh] = Place(F, Offset(kRThigh));
  F = F * J("X", q[kRlj3], kRThigh);
  w[kRShank] = Place(F, Offset(kRShank));
  F = F * J("X", q[kRlj4], kRShank);
  w[kRAnkle] = Place(F, Offset(kRAnkle));
  F = F * J("X", q[kRlj5], kRAnkle);
  w[kRFoot] = Place(F, Offset(kRFoot));
  F = F * J("Y", q[kRlj6], kRFoot);
  body->r_tiptoe = Place(F, tiptoe);

  F = J("X", q[kLlj1], kLHip1);
  w[kLHip2] = Place(F, Offset(kLHip2));
  F = F * J("Y", q[kLlj2], kLHip2);
  w[kLThigh] = Place(F, Offset(kLThigh));
  F = F * J("X", q[kLlj3], kLThigh);
  w[kLShank] = Place(F, Offset(kLShank));
  F = F * J("X", q[kLlj4], kLShank);
  w[kLAnkle] = Place(F, Offset(kLAnkle));
  F = F * J("X", q[kLlj5], kLAnkle);
  w[kLFoot] = Place(F, Offset(kLFoot));
  F = F * J("Y", q[kLlj6], kLFoot);
  body->l_tiptoe = Place(F, tiptoe);
}

Eigen::Vector3d Body::CalcGravity(const BodyState& body) {
  Eigen::Vector3d sum = Eigen::Vector3d::Zero();
  double mass = 0.0;
  for (PartId p : NaoModel::kMassOrder) {
    const double m = NaoModel::kPartTable[p].mass;
    sum += m * body.part[p];
    mass += m;
  }
  return sum / mass;
}

void Body::CalcMomentum(double game_time, BodyState* body) {
  const double dt = game_time - bef_time_;
  Eigen::Vector3d sum = Eigen::Vector3d::Zero();
  double mass = 0.0;
  for (PartId p : NaoModel::kMassOrder) {
    const double m = NaoModel::kPartTable[p].mass;
    for (int k = 0; k < 3; ++k) sum(k) += m * Tool::Differentiation(body->part[p](k), dt);
    mass += m;
  }
  body->momentum = sum;
  body->t_momentum = sum / mass;
  bef_time_ = game_time;
}

void Body::CalculateZMP(const ForceResistance& left, const ForceResistance& right,
                        Eigen::Vector2d* zmp) {
  if (!left.existence && !right.existence) {
    zmp->setZero();
    return;
  }
  const double fl = left.force.z();
  const double fr = right.force.z();
  const double total = fl + fr;
  // Contact with no vertical force has no centre of pressure: keep the last one.
  if (total == 0.0 || !std::isfinite(total)) return;
  const Eigen::Vector3d l_foot = Offset(kLFoot);
  const Eigen::Vector3d r_foot = Offset(kRFoot);
  for (int k = 0; k < 2; ++k) {
    (*zmp)(k) = ((l_foot(k) + left.coord(k)) * fl + (r_foot(k) + right.coord(k)) * fr) / total;
  }
}
