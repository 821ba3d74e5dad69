#include "nao_model/NaoModel.h"

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

const PartId NaoModel::kMassOrder[NaoModel::kPartNum] = {
    kTorso,     kNeck,      kHead,  kLShoulder, kLUpperarm, kLElbow,    kLLowerarm, kRShoulder,
    kRUpperarm, kRElbow,    kRLowerarm, kLHip1, kLHip2,     kLThigh,    kLShank,    kLAnkle,
    kLFoot,     kRHip1,     kRHip2, kRThigh,    kRShank,    kRAnkle,    kRFoot};

JointId JointByName(std::string_view name) {
  for (int j = 0; j < kJointCount; ++j) {
    if (name == NaoModel::kJointTable[j].p_name) return static_cast<JointId>(j);
  }
  return kJointCount;
}

std::string NaoModel::SelectUsingType(unsigned type) {
  if (type <= 4) return "(scene rsg/agent/nao/nao_hetero.rsg " + std::to_string(type) + ")";
  return "(scene rsg/agent/nao/nao.rsg)";
}
