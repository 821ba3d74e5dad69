#include "SimKinematics.h"

#include <cmath>
#include <cstring>

#include "FieldUnits.h"

namespace {

struct PartIdx {
  int torso, neck, head;
  int shoulder[2], upperarm[2], elbow[2], lowerarm[2];
  int hip1[2], hip2[2], thigh[2], shank[2], ankle[2], foot[2];
};

const PartIdx& Idx() {
  static const PartIdx idx = [] {
    PartIdx i{};
    i.torso = SimKinematics::PartIndex("torso");
    i.neck = SimKinematics::PartIndex("neck");
    i.head = SimKinematics::PartIndex("head");
    const char* side[2] = {"l_", "r_"};
    for (int s = 0; s < 2; ++s) {
      const std::string p = side[s];
      i.shoulder[s] = SimKinematics::PartIndex((p + "shoulder").c_str());
      i.upperarm[s] = SimKinematics::PartIndex((p + "upperarm").c_str());
      i.elbow[s] = SimKinematics::PartIndex((p + "elbow").c_str());
      i.lowerarm[s] = SimKinematics::PartIndex((p + "lowerarm").c_str());
      i.hip1[s] = SimKinematics::PartIndex((p + "hip1").c_str());
      i.hip2[s] = SimKinematics::PartIndex((p + "hip2").c_str());
      i.thigh[s] = SimKinematics::PartIndex((p + "thigh").c_str());
      i.shank[s] = SimKinematics::PartIndex((p + "shank").c_str());
      i.ankle[s] = SimKinematics::PartIndex((p + "ankle").c_str());
      i.foot[s] = SimKinematics::PartIndex((p + "foot").c_str());
    }
    return i;
  }();
  return idx;
}

struct AxisTable {
  Eigen::Vector3d axis[RobotBody::kJointNum];
};

const AxisTable& Axes() {
  static const AxisTable t = [] {
    AxisTable a;
    for (int j = 0; j < RobotBody::kJointNum; ++j) {
      const RobotBody::Triple& s = RobotBody::kJoints[j].axis;
      a.axis[j] = Eigen::Vector3d(s.x, s.y, s.z).normalized();
    }
    return a;
  }();
  return t;
}

Eigen::Vector3d Offset(int part) {
  const RobotBody::Triple& s = RobotBody::kParts[part].offset;
  return Eigen::Vector3d(s.x, s.y, s.z);
}

// F * J(joint, offset): translate by the offset in F's axes, then turn.
Frame Chain(const Frame& f, int part, const Eigen::Matrix3d& turn) {
  Frame r;
  r.p = f.p + f.R * Offset(part);
  r.R = f.R * turn;
  return r;
}

}  // namespace

SimKinematics::SimKinematics() {
  const PartIdx& i = Idx();
  l_lowerarm_ = i.lowerarm[kLeft];
  r_lowerarm_ = i.lowerarm[kRight];
  l_foot_ = i.foot[kLeft];
  r_foot_ = i.foot[kRight];
  for (auto& p : part_) p.setZero();
  const double zero[RobotBody::kJointNum] = {};
  Compute(zero);
}

int SimKinematics::PartIndex(const char* name) {
  for (int k = 0; k < RobotBody::kPartNum; ++k) {
    if (std::strcmp(RobotBody::kParts[k].name, name) == 0) return k;
  }
  return -1;
}

Eigen::Matrix3d SimKinematics::JointRotation(int joint, double angle_deg) {
  return Eigen::AngleAxisd(angle_deg * FieldUnits::kDegToRad, Axes().axis[joint]).toRotationMatrix();
}

const Eigen::Matrix3d& SimKinematics::Turn(int joint, double angle_deg) {
  std::uint64_t bits;
  std::memcpy(&bits, &angle_deg, sizeof bits);
  if (!turn_known_[joint] || turn_angle_[joint] != bits) {
    turn_[joint] = JointRotation(joint, angle_deg);
    turn_angle_[joint] = bits;
    turn_known_[joint] = true;
  }
  return turn_[joint];
}

void SimKinematics::Compute(const double* q) {
  const PartIdx& i = Idx();
  const Frame torso;

  part_[i.torso] = Offset(i.torso);
  part_rot_[i.torso] = torso.R;
  // Head: pan about the neck, tilt at the head.
  Frame f = Chain(torso, i.neck, Turn(kHj1, q[kHj1]));
  part_[i.neck] = f.p;
  part_rot_[i.neck] = f.R;
  f = Chain(f, i.head, Turn(kHj2, q[kHj2]));
  part_[i.head] = f.p;
  part_rot_[i.head] = f.R;
  camera_ = f;

  const int arm_joint[2] = {kLaj1, kRaj1};
  const int leg_joint[2] = {kLlj1, kRlj1};
  for (int s = 0; s < 2; ++s) {
    const int a = arm_joint[s];
    f = Chain(torso, i.shoulder[s], Turn(a, q[a]));
    part_[i.shoulder[s]] = f.p;
    part_rot_[i.shoulder[s]] = f.R;
    part_[i.upperarm[s]] = f * Offset(i.upperarm[s]);
    part_rot_[i.upperarm[s]] = f.R;
    f = Chain(f, i.upperarm[s], Turn(a + 1, q[a + 1]));
    part_[i.elbow[s]] = f * Offset(i.elbow[s]);
    part_rot_[i.elbow[s]] = f.R;
    f = Chain(f, i.elbow[s], Turn(a + 2, q[a + 2]));
    f.R = f.R * Turn(a + 3, q[a + 3]);  // elbow roll at the elbow
    part_[i.lowerarm[s]] = f * Offset(i.lowerarm[s]);
    part_rot_[i.lowerarm[s]] = f.R;

    const int l = leg_joint[s];
    f = Chain(torso, i.hip1[s], Turn(l, q[l]));
    part_[i.hip1[s]] = f.p;
    part_rot_[i.hip1[s]] = f.R;
    part_[i.hip2[s]] = f * Offset(i.hip2[s]);
    part_rot_[i.hip2[s]] = f.R;
    f = Chain(f, i.hip2[s], Turn(l + 1, q[l + 1]));
    part_[i.thigh[s]] = f * Offset(i.thigh[s]);
    part_rot_[i.thigh[s]] = f.R;
    f = Chain(f, i.thigh[s], Turn(l + 2, q[l + 2]));
    part_[i.shank[s]] = f * Offset(i.shank[s]);
    part_rot_[i.shank[s]] = f.R;
    f = Chain(f, i.shank[s], Turn(l + 3, q[l + 3]));
    part_[i.ankle[s]] = f * Offset(i.ankle[s]);
    part_rot_[i.ankle[s]] = f.R;
    f = Chain(f, i.ankle[s], Turn(l + 4, q[l + 4]));
    part_[i.foot[s]] = f * Offset(i.foot[s]);
    f = Chain(f, i.foot[s], Turn(l + 5, q[l + 5]));
    part_rot_[i.foot[s]] = f.R;  // the foot turns with both ankle joints
    sole_[s].R = f.R;
    sole_[s].p = f.p + f.R * Eigen::Vector3d(0, 0, -kSoleDepth);
  }

  com_.setZero();
  total_mass_ = 0.0;
  for (int k = 0; k < RobotBody::kPartNum; ++k) {
    const double m = RobotBody::kParts[k].mass;
    com_ += m * part_[k];
    total_mass_ += m;
  }
  if (total_mass_ > 0) com_ /= total_mass_;
}
