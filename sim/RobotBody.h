#ifndef VEKTORLING_SIM_ROBOTBODY_H
#define VEKTORLING_SIM_ROBOTBODY_H

// The field's own description of the Nao body it simulates: the hinge
// joints with their message names, limits and axes, and the rigid parts
// with their offsets in the kinematic chain and their masses. The field
// keeps its own copy, apart from the player's body model, so that a wrong
// number on either side shows up as a difference between the two.
namespace RobotBody {

struct Triple {
  double x, y, z;
};

struct Joint {
  const char* perceptor;  // name in the perceptor messages ("hj1")
  const char* effector;   // name in the player's commands ("he1")
  double min, max;        // limits, degrees
  Triple axis;            // in the parent part's frame
};

struct Part {
  const char* name;
  Triple offset;  // from the joint it hangs on, in the kinematic chain, metres
  double mass;    // kilograms
};

constexpr int kJointNum = 22;
constexpr int kPartNum = 23;

// In effector command order: head, left arm, right arm, left leg, right leg.
extern const Joint kJoints[kJointNum];
// Torso, neck, head, then right before left for each arm and leg part.
extern const Part kParts[kPartNum];

}  // namespace RobotBody

#endif
