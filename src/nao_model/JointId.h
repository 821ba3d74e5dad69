#ifndef VEKTORLING_NAO_MODEL_JOINTID_H
#define VEKTORLING_NAO_MODEL_JOINTID_H

#include <array>
#include <string_view>

// The robot's 22 hinge joints, in the order of the joint table and of the
// effector commands: head, left arm, right arm, left leg, right leg.
enum JointId : int {
  kHj1, kHj2,
  kLaj1, kLaj2, kLaj3, kLaj4,
  kRaj1, kRaj2, kRaj3, kRaj4,
  kLlj1, kLlj2, kLlj3, kLlj4, kLlj5, kLlj6,
  kRlj1, kRlj2, kRlj3, kRlj4, kRlj5, kRlj6,
  kJointCount
};

// Perceived joint angles (degrees) by JointId.
using JointAngles = std::array<double, kJointCount>;

// The joint with this perceptor name ("hj1" ... "rlj6"); kJointCount for
// any other text.
JointId JointByName(std::string_view perceptor_name);

#endif  // VEKTORLING_NAO_MODEL_JOINTID_H
