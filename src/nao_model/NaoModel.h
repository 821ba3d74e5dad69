#ifndef VEKTORLING_NAO_MODEL_NAOMODEL_H
#define VEKTORLING_NAO_MODEL_NAOMODEL_H

#include <string>

#include "nao_model/JointId.h"

// Fixed geometry of one body part.
struct PartSpec {
  const char* name;
  double x, y, z;  // local coordinate in the kinematic chain, metres
  double mass;     // kilograms
};

// One hinge joint: perceptor and effector names, limits (degrees), axis.
struct JointSpec {
  const char* p_name;
  const char* e_name;
  double max;
  double min;
  double ax, ay, az;
};

// The robot's 23 body parts, in the order of the part table.
enum PartId : int {
  kTorso, kNeck, kHead,
  kRShoulder, kLShoulder, kRUpperarm, kLUpperarm, kRElbow, kLElbow, kRLowerarm, kLLowerarm,
  kRHip1, kLHip1, kRHip2, kLHip2, kRThigh, kLThigh, kRShank, kLShank, kRAnkle, kLAnkle,
  kRFoot, kLFoot,
  kPartCount
};

// The constant model of the robot's body: its 23 parts with their offsets
// and masses, its 22 hinge joints with names, limits and axes, and the
// scene command that asks the server for a robot type.
struct NaoModel {
  static constexpr int kPartNum = kPartCount;
  static constexpr int kJointNum = kJointCount;
  static const PartSpec kPartTable[kPartNum];    // PartId order
  static const JointSpec kJointTable[kJointNum];  // JointId order, the effector command order
  // The order in which the parts' masses are summed: head, left arm, right
  // arm, left leg, right leg (sums in floating point depend on it).
  static const PartId kMassOrder[kPartNum];

  // "(scene rsg/agent/nao/nao_hetero.rsg T)" for types 0-4, the plain
  // robot for any other.
  static std::string SelectUsingType(unsigned type);
};

#endif
