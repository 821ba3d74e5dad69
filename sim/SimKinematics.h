#ifndef VEKTORLING_SIM_SIMKINEMATICS_H
#define VEKTORLING_SIM_SIMKINEMATICS_H

#include <cstdint>

#include <Eigen/Dense>

#include "RobotBody.h"

// A rigid frame: maps a point p of the frame to R * p + p0.
struct Frame {
  Eigen::Matrix3d R = Eigen::Matrix3d::Identity();
  Eigen::Vector3d p = Eigen::Vector3d::Zero();

  Eigen::Vector3d operator*(const Eigen::Vector3d& v) const { return R * v + p; }
  Frame operator*(const Frame& f) const {
    Frame r;
    r.R = R * f.R;
    r.p = R * f.p + p;
    return r;
  }
  Frame Inverse() const {
    Frame r;
    r.R = R.transpose();
    r.p = -(r.R * p);
    return r;
  }
};

// Joint indices in the order of RobotBody::kJoints (the effector order).
enum SimJoint {
  kHj1 = 0, kHj2,
  kLaj1, kLaj2, kLaj3, kLaj4,
  kRaj1, kRaj2, kRaj3, kRaj4,
  kLlj1, kLlj2, kLlj3, kLlj4, kLlj5, kLlj6,
  kRlj1, kRlj2, kRlj3, kRlj4, kRlj5, kRlj6,
};

// Forward kinematics of the robot body in the torso frame (x to the right,
// y forwards, z up), with the offsets and masses of RobotBody's parts and
// the true axes of its joints (the hip yaw-pitch turns about
// its diagonal axis). Each joint turns the rest of its chain about the
// point where the part of its row sits; the camera is the head frame.
class SimKinematics {
public:
  static constexpr int kLeft = 0;
  static constexpr int kRight = 1;
  // The sole: a 0.16 m (along y) by 0.08 m (along x) rectangle, centred
  // below the foot point.
  static constexpr double kSoleDepth = 0.03;
  static constexpr double kSoleHalfLength = 0.08;
  static constexpr double kSoleHalfWidth = 0.04;
  static constexpr double kFootHeight = 0.05;  // height of the foot box above the sole

  SimKinematics();

  // Joint angles in degrees, RobotBody::kJoints order.
  void Compute(const double* q_deg);

  const Frame& Camera() const { return camera_; }
  // Sole frame of a foot: origin at the sole centre, axes of the foot.
  const Frame& Sole(int side) const { return sole_[side]; }
  const Eigen::Vector3d& Part(int index) const { return part_[index]; }
  // The axes of a part (turned by every joint above it), torso frame.
  const Eigen::Matrix3d& PartRotation(int index) const { return part_rot_[index]; }
  const Eigen::Vector3d& LowerArm(int side) const { return part_[side == kLeft ? l_lowerarm_ : r_lowerarm_]; }
  const Eigen::Vector3d& FootPoint(int side) const { return part_[side == kLeft ? l_foot_ : r_foot_]; }
  const Eigen::Vector3d& CentreOfMass() const { return com_; }
  double TotalMass() const { return total_mass_; }

  // Index of a part of RobotBody::kParts by name; -1 if unknown.
  static int PartIndex(const char* name);
  // Rotation about a joint's axis of RobotBody::kJoints.
  static Eigen::Matrix3d JointRotation(int joint, double angle_deg);

private:
  Frame camera_;
  Frame sole_[2];
  Eigen::Vector3d part_[RobotBody::kPartNum];
  Eigen::Matrix3d part_rot_[RobotBody::kPartNum];
  Eigen::Vector3d com_ = Eigen::Vector3d::Zero();
  double total_mass_ = 0.0;

  int l_lowerarm_, r_lowerarm_, l_foot_, r_foot_;

  // JointRotation at the joint's angle, kept from the last call: most joints
  // hold their angle from one step to the next, and the same angle (to the
  // bit) gives the same matrix.
  const Eigen::Matrix3d& Turn(int joint, double angle_deg);
  Eigen::Matrix3d turn_[RobotBody::kJointNum];
  std::uint64_t turn_angle_[RobotBody::kJointNum] = {};  // the bits of the angle of turn_
  bool turn_known_[RobotBody::kJointNum] = {};
};

#endif
