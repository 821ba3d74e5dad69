#ifndef VEKTORLING_NAO_MODEL_NAOMODEL_H
#define VEKTORLING_NAO_MODEL_NAOMODEL_H

#include <map>
#include <string>

#include <Eigen/Dense>

#include "beam/Beam.h"
#include "message/ForceResistance.h"
#include "message/Hearing.h"
#include "message/Message.h"
#include "nao_model/BodyPart.h"
#include "nao_model/HingeJoint.h"
#include "tool/NameLess.h"

typedef std::map<std::string, HingeJoint*, NameLess> Joint;

// Fixed geometry of one body part, in member order.
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

// The robot's own body as the agent knows it: fixed geometry and masses of
// its 23 parts, its 22 hinge joints, the latest sensor readings, and the
// scene and init commands it sends at start.
class NaoModel {
public:
  static constexpr int kPartNum = 23;
  static constexpr int kJointNum = 22;
  static const PartSpec kPartTable[kPartNum];    // member order
  static const JointSpec kJointTable[kJointNum];  // effector command order
  static const std::string part[kPartNum];        // part names, map order of use
  static const std::string p_joint[kJointNum];    // perceptor joint names
  static const std::string e_joint[kJointNum];    // effector joint names

  struct SayRecord {
    std::string msg_ = "(say )";
  };

  NaoModel(int id, std::string team, bool syn_mode);
  virtual ~NaoModel();
  NaoModel(const NaoModel&) = delete;
  NaoModel& operator=(const NaoModel&) = delete;

  virtual void SetMainMessage(const std::string& msg);
  virtual int GetID() const;
  virtual std::string GetTeamName() const;
  virtual std::string GetMainMessage() const;
  virtual BodyPart* GetPart(const std::string& name);
  virtual HingeJoint* GetJoint(const std::string& name);
  virtual std::string SelectUsingType(unsigned type) const;
  virtual void ParseMessage();

protected:
  const bool syn_mode_;
  const double height;
  const double weight;
  const int ID_;
  const std::string team_;
  const int part_num;

  BodyPart torso, neck, head;
  BodyPart r_shoulder, l_shoulder, r_upperarm, l_upperarm, r_elbow, l_elbow, r_lowerarm, l_lowerarm;
  BodyPart r_hip1, l_hip1, r_hip2, l_hip2, r_thigh, l_thigh, r_shank, l_shank, r_ankle, l_ankle,
      r_foot, l_foot;
  std::map<std::string, BodyPart*, NameLess> m_part;
  Eigen::Vector3d l_tiptoe;
  Eigen::Vector3d r_tiptoe;

  const int joint_num;
  HingeJoint hj1, hj2;
  HingeJoint laj1, laj2, laj3, laj4;
  HingeJoint raj1, raj2, raj3, raj4;
  HingeJoint llj1, llj2, llj3, llj4, llj5, llj6;
  HingeJoint rlj1, rlj2, rlj3, rlj4, rlj5, rlj6;
  Joint m_joint;

  Eigen::Vector3d gyro_;
  Eigen::Vector3d acc_;
  ForceResistance frp_l_;
  ForceResistance frp_r_;
  Message main_msg;
  Beam bp;
  SayRecord say_;
  Hearing hear_[2];
};

#endif
