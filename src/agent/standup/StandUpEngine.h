#ifndef VEKTORLING_AGENT_STANDUP_STANDUPENGINE_H
#define VEKTORLING_AGENT_STANDUP_STANDUPENGINE_H

#include <memory>
#include <string>

#include <Eigen/Dense>

#include "agent/standup/StandingUp.h"
#include "agent/motion_sequence/StandUpSequence.h"
#include "nao_model/JointId.h"
#include "nao_model/JointRequest.h"

// One joint target of a fixed pose, in degrees.
struct JointTarget {
  JointId joint;
  double degree;
};

// The constants of noticing a fall and getting up. Angles in degrees,
// durations in cycles.
struct StandUpParams {
  // |acc.x| + |acc.y| above this (m/s^2, compared in single precision)
  // means an impact or a lying body.
  float fall_acceleration = 40.0f;
  // A centre of pressure further than this (metres) from the torso axis
  // means the robot is tipping over.
  double fall_zmp_radius = 0.85;
  // Arms spread sideways to land on them rather than on the head.
  double spread_arm = 30.0;
  double spread_gain = 0.2;

  // Settling: arms and head to a neutral pose, legs straight. With both
  // feet on the ground the counter rises by 2 per cycle and the way up is
  // chosen above settled_on_feet; without, by 1 up to settled_in_air.
  JointTarget settle_arms[10] = {{kHj1, 0},    {kHj2, 0},  {kRaj1, -90}, {kLaj1, -90},
                                 {kRaj2, 0},   {kLaj2, 0}, {kRaj3, 90},  {kLaj3, -90},
                                 {kRaj4, 0},   {kLaj4, 0}};
  double settle_arm_gain = 0.1;
  double settle_leg_gain = 0.2;
  int settled_on_feet = 20;
  int settled_in_air = 30;

  // Getting up from the front: hips turned in and bent (down1), then the
  // knees (down2).
  double down_gain = 0.5;
  double down1_yaw = -45.0;
  double down1_hip = 100.0;
  int down1_cycles = 50;
  int down2_wait = 3;
  double down2_yaw = -5.0;
  double down2_knee = -45.0;
  int down2_cycles = 15;

  // The pose that ends every stand-up: arms down, legs straight, then the
  // crouch on top.
  JointTarget erect[20] = {{kLaj1, -90}, {kLaj2, 0}, {kLaj3, -90}, {kLaj4, 0}, {kRaj1, -90},
                           {kRaj2, 0},   {kRaj3, 90}, {kRaj4, 0},  {kLlj1, 0},  {kLlj2, 0},
                           {kLlj3, 0},   {kLlj4, 0},  {kLlj5, 0},  {kLlj6, 0},  {kRlj1, 0},
                           {kRlj2, 0},   {kRlj3, 0},  {kRlj4, 0},  {kRlj5, 0},  {kRlj6, 0}};
  JointTarget crouch[6] = {{kRlj3, 25}, {kLlj3, 25}, {kRlj4, -80},
                           {kLlj4, -80}, {kRlj5, 55}, {kLlj5, 55}};
  double crouch_gain = 0.1;
  int crouch_cycles = 10;
  // The keyframe motion that gets the robot up from its back.
  std::string back_sequence = StandUpSequence::kDocument;
};

// Noticing a fall, and getting up: settle, choose the way up from where the
// feet press, play the way up, end in a crouch. One Update is one cycle.
class StandUpEngine {
 public:
  struct Inputs {
    const JointAngles* joint;
    bool both_feet_down;   // both foot sensors report contact
    double feet_zmp_y;     // the feet's centre of pressure, y (<= 0: at the heels)
  };

  explicit StandUpEngine(const StandUpParams& params = StandUpParams());
  ~StandUpEngine();

  // Whether the accelerometer or the centre of pressure (torso frame) shows a fall.
  bool JudgeFallingDown(const Eigen::Vector3d& acc, const Eigen::Vector2d& zmp) const;
  // Spreads the arms.
  void PreventFalling(const JointAngles& joint, JointRequest* out) const;
  // One cycle of getting up.
  void Update(const Inputs& in, JointRequest* out) { NextStandUp(in, out); }
  void NextStandUp(const Inputs& in, JointRequest* out);

  bool Complete() const { return progress_.complete; }
  void Reset() { progress_.Reset(); }
  const StandingUp& Progress() const { return progress_; }
  const StandUpParams& Params() const { return params_; }

 private:
  // Arms down, legs straight.
  void SetErectPosture(const JointAngles& joint, double gain, JointRequest* out) const;

  const StandUpParams params_;
  StandingUp progress_;
  std::unique_ptr<MotionSequence> sequence_;  // read on first use
};

#endif  // VEKTORLING_AGENT_STANDUP_STANDUPENGINE_H
