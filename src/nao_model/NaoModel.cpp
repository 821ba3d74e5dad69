#include "nao_model/NaoModel.h"

#include <cstring>

const PartSpec NaoModel::kPartTable[NaoModel::kPartNum] = {
    {"torso", 0, 0, 0, 1.2171},
    {"neck", 0, 0, 0.09, 0.05},
    {"head", 0, 0, 0.065, 0.35},
    {"r_shoulder", 0.098, 0, 0.075, 0.07},
    {"l_shoulder", -0.098, 0, 0.075, 0.07},
    {"r_upperarm", 0.01, 0.02, 0, 0.15},
    {"l_upperarm", -0.01, 0.02, 0, 0.15},
    {"r_elbow", -0.01, 0.07, 0.009, 0.035},
    {"l_elbow", 0.01, 0.07, 0.009, 0.035},
    {"r_lowerarm", 0, 0.05, 0, 0.2},
    {"l_lowerarm", 0, 0.05, 0, 0.2},
    {"r_hip1", 0.055, -0.01, -0.115, 0.09},
    {"l_hip1", -0.055, -0.01, -0.115, 0.09},
    {"r_hip2", 0, 0, 0, 0.125},
    {"l_hip2", 0, 0, 0, 0.125},
    {"r_thigh", 0, 0.01, -0.04, 0.275},
    {"l_thigh", 0, 0.01, -0.04, 0.275},
    {"r_shank", 0, 0.005, -0.125, 0.225},
    {"l_shank", 0, 0.005, -0.125, 0.225},
    {"r_ankle", 0, -0.01, -0.055, 0.125},
    {"l_ankle", 0, -0.01, -0.055, 0.125},
    {"r_foot", 0, 0.03, -0.04, 0.2},
    {"l_foot", 0, 0.03, -0.04, 0.2},
};

const JointSpec NaoModel::kJointTable[NaoModel::kJointNum] = {
    {"hj1", "he1", 120, -120, 0, 0, 1},
    {"hj2", "he2", 45, -45, 1, 0, 0},
    {"laj1", "lae1", 120, -120, 1, 0, 0},
    {"laj2", "lae2", 95, -1, 0, 0, 1},
    {"laj3", "lae3", 120, -120, 0, 1, 0},
    {"laj4", "lae4", 1, -90, 0, 0, 1},
    {"raj1", "rae1", 120, -120, 1, 0, 0},
    {"raj2", "rae2", 1, -95, 0, 0, 1},
    {"raj3", "rae3", 120, -120, 0, 1, 0},
    {"raj4", "rae4", 90, -1, 0, 0, 1},
    {"llj1", "lle1", 1, -90, -0.7071, 0, -0.7071},
    {"llj2", "lle2", 45, -25, 0, 1, 0},
    {"llj3", "lle3", 100, -25, 1, 0, 0},
    {"llj4", "lle4", 1, -130, 1, 0, 0},
    {"llj5", "lle5", 75, -45, 1, 0, 0},
    {"llj6", "lle6", 25, -45, 0, 1, 0},
    {"rlj1", "rle1", 1, -90, -0.7071, 0, 0.7071},
    {"rlj2", "rle2", 25, -45, 0, 1, 0},
    {"rlj3", "rle3", 100, -25, 1, 0, 0},
    {"rlj4", "rle4", 1, -130, 1, 0, 0},
    {"rlj5", "rle5", 75, -45, 1, 0, 0},
    {"rlj6", "rle6", 45, -25, 0, 1, 0},
};

const std::string NaoModel::part[NaoModel::kPartNum] = {
    "torso",      "neck",       "head",    "l_shoulder", "l_upperarm", "l_elbow",
    "l_lowerarm", "r_shoulder", "r_upperarm", "r_elbow", "r_lowerarm", "l_hip1",
    "l_hip2",     "l_thigh",    "l_shank", "l_ankle",    "l_foot",     "r_hip1",
    "r_hip2",     "r_thigh",    "r_shank", "r_ankle",    "r_foot"};

const std::string NaoModel::p_joint[NaoModel::kJointNum] = {
    "hj1",  "hj2",  "laj1", "laj2", "laj3", "laj4", "raj1", "raj2", "raj3", "raj4", "llj1",
    "llj2", "llj3", "llj4", "llj5", "llj6", "rlj1", "rlj2", "rlj3", "rlj4", "rlj5", "rlj6"};

const std::string NaoModel::e_joint[NaoModel::kJointNum] = {
    "he1",  "he2",  "lae1", "lae2", "lae3", "lae4", "rae1", "rae2", "rae3", "rae4", "lle1",
    "lle2", "lle3", "lle4", "lle5", "lle6", "rle1", "rle2", "rle3", "rle4", "rle5", "rle6"};

namespace {

BodyPart MakePart(const char* name) {
  for (const PartSpec& p : NaoModel::kPartTable) {
    if (std::strcmp(p.name, name) == 0) return BodyPart(Eigen::Vector3d(p.x, p.y, p.z), p.mass);
  }
  return BodyPart(Eigen::Vector3d::Zero(), 0.0);  // unreachable: every member is in the table
}

HingeJoint MakeJoint(const char* name) {
  for (const JointSpec& j : NaoModel::kJointTable) {
    if (std::strcmp(j.p_name, name) == 0)
      return HingeJoint(j.max, j.min, Eigen::Vector3d(j.ax, j.ay, j.az));
  }
  return HingeJoint(0.0, 0.0, Eigen::Vector3d::Zero());  // unreachable
}

}  // namespace

#define PART(n) n(MakePart(#n))
#define JOINT(n) n(MakeJoint(#n))

NaoModel::NaoModel(int id, std::string team, bool syn_mode)
    : syn_mode_(syn_mode),
      height(0.57),
      weight(4.5),
      ID_(id),
      team_(team),
      part_num(kPartNum),
      PART(torso), PART(neck), PART(head),
      PART(r_shoulder), PART(l_shoulder), PART(r_upperarm), PART(l_upperarm),
      PART(r_elbow), PART(l_elbow), PART(r_lowerarm), PART(l_lowerarm),
      PART(r_hip1), PART(l_hip1), PART(r_hip2), PART(l_hip2), PART(r_thigh), PART(l_thigh),
      PART(r_shank), PART(l_shank), PART(r_ankle), PART(l_ankle), PART(r_foot), PART(l_foot),
      l_tiptoe(Eigen::Vector3d::Zero()),
      r_tiptoe(Eigen::Vector3d::Zero()),
      joint_num(kJointNum),
      JOINT(hj1), JOINT(hj2),
      JOINT(laj1), JOINT(laj2), JOINT(laj3), JOINT(laj4),
      JOINT(raj1), JOINT(raj2), JOINT(raj3), JOINT(raj4),
      JOINT(llj1), JOINT(llj2), JOINT(llj3), JOINT(llj4), JOINT(llj5), JOINT(llj6),
      JOINT(rlj1), JOINT(rlj2), JOINT(rlj3), JOINT(rlj4), JOINT(rlj5), JOINT(rlj6),
      gyro_(Eigen::Vector3d::Zero()),
      acc_(Eigen::Vector3d::Zero()),
      main_msg(id, team) {
  BodyPart* parts[kPartNum] = {&torso,      &neck,       &head,       &r_shoulder, &l_shoulder,
                               &r_upperarm, &l_upperarm, &r_elbow,    &l_elbow,    &r_lowerarm,
                               &l_lowerarm, &r_hip1,     &l_hip1,     &r_hip2,     &l_hip2,
                               &r_thigh,    &l_thigh,    &r_shank,    &l_shank,    &r_ankle,
                               &l_ankle,    &r_foot,     &l_foot};
  for (int i = 0; i < kPartNum; ++i) m_part[kPartTable[i].name] = parts[i];

  HingeJoint* joints[kJointNum] = {&hj1,  &hj2,  &laj1, &laj2, &laj3, &laj4, &raj1, &raj2,
                                   &raj3, &raj4, &llj1, &llj2, &llj3, &llj4, &llj5, &llj6,
                                   &rlj1, &rlj2, &rlj3, &rlj4, &rlj5, &rlj6};
  for (int i = 0; i < kJointNum; ++i) m_joint[kJointTable[i].p_name] = joints[i];
}

#undef PART
#undef JOINT

NaoModel::~NaoModel() = default;

void NaoModel::SetMainMessage(const std::string& msg) { main_msg.SetMessage(msg); }

int NaoModel::GetID() const { return ID_; }

std::string NaoModel::GetTeamName() const { return team_; }

std::string NaoModel::GetMainMessage() const { return main_msg.GetMessage(); }

// Unknown names get a null entry, as a map look-up with insertion does.
BodyPart* NaoModel::GetPart(const std::string& name) { return m_part[name]; }

HingeJoint* NaoModel::GetJoint(const std::string& name) { return m_joint[name]; }

std::string NaoModel::SelectUsingType(unsigned type) const {
  switch (type) {
    case 0: return "(scene rsg/agent/nao/nao_hetero.rsg 0)";
    case 1: return "(scene rsg/agent/nao/nao_hetero.rsg 1)";
    case 2: return "(scene rsg/agent/nao/nao_hetero.rsg 2)";
    case 3: return "(scene rsg/agent/nao/nao_hetero.rsg 3)";
    case 4: return "(scene rsg/agent/nao/nao_hetero.rsg 4)";
    default: return "(scene rsg/agent/nao/nao.rsg)";
  }
}

void NaoModel::ParseMessage() {
  for (auto& entry : m_joint) entry.second->rotation = main_msg.ParseJoint(entry.first);
  gyro_ = main_msg.ParseGyro();
  acc_ = main_msg.ParseAcc();
  frp_l_ = main_msg.ParseFrp('L');
  frp_r_ = main_msg.ParseFrp('R');
  for (int i = 0; i < 2; ++i) hear_[i] = main_msg.ParseHearingMsg(i);
}
