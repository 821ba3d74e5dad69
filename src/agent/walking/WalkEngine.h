#ifndef VEKTORLING_AGENT_WALKING_WALKENGINE_H
#define VEKTORLING_AGENT_WALKING_WALKENGINE_H

#include "nao_model/JointId.h"
#include "nao_model/JointRequest.h"
#include "tool/UserLocus.h"
#include "tool/ValueManager.h"
#include "tool/kinematics/FootWork.h"

// The walk's constants. Angles in degrees, commands in [-1, 1].
struct WalkParams {
  // How far each smoothed command may move towards its target per cycle.
  double speed_step = 0.03;
  double direction_step = 0.025;
  double curve_step = 0.05;
  // Walking backwards shifts the half-cycle phase by this many points.
  int backward_phase_shift = 6;
  // Hip yaw-pitch per unit of curve: the turning half of the cycle, and the
  // other half with a wide stance.
  double turn_yaw = -30.0;
  double open_foot_yaw = 10.0;
  // Hip and ankle roll per unit of direction in the two halves, and the
  // extra roll of a wide stance.
  double roll_lead = 16.0;
  double roll_trail = -12.0;
  double open_foot_roll = 5.0;
  // Share of the hip yaw-pitch that the ankle pitch takes over.
  double ankle_yaw_share = 0.18;
  // Proportional gains of the yaw-pitch, pitch and roll joints.
  double yaw_gain = 0.1713;
  double pitch_gain = 0.3213;
  double roll_gain = 0.15;
  // Limits of the commands in use (the tactics' commands are clamped to
  // +-limit; 1 is no limit).
  double max_speed = 1.0;
  double max_direction = 1.0;
  double max_curve = 1.0;
  // Offsets (degrees) on every cycle's hip pitch and ankle pitch, and on the
  // height of the loops (millimetres; negative crouches deeper). 0: none.
  double hip_pitch_offset = 0.0;
  double ankle_offset = 0.0;
  double height_offset = 0.0;
  // The leg the solver assumes: thigh and shank lengths, millimetres.
  double thigh_length = 125.0;
  double shank_length = 55.0;
  // The ankle's loops in millimetres of the leg's plane, one "x,y,degree"
  // line per point (degree: ankle pitch offset): forward, backward (whose
  // points give way to the forward ones reversed), and two stamping loops.
  const char* loops[4] = {
      "16,-149,0\n-7,-145,0\n-35,-146,0\n-34,-158,0\n-7,-164,0\n16,-159,0\n",
      "-3,-162,0\n-22,-160,0\n-42,-154,0\n-41,-138,0\n-25,-134,0\n-12,-140,0\n9,-151,0\n9,-160,0\n",
      "0,-174,0\n6,-165,0\n6,-156,0\n0,-150,0\n-12,-156,0\n-12,-165,0\n",
      "0,-170,0\n5,-165,0\n5,-160,0\n5,-155,0\n5,-150,0\n0,-145,0\n-5,-150,0\n-5,-155,0\n"
      "-5,-160,0\n-5,-165,0\n",
  };
};

// What the tactics ask of the walk: forward speed, sideways direction and
// curve in [-1, 1] (values outside are clamped), and a wide stance.
struct WalkCommand {
  double speed = 0.0;
  double direction = 0.0;
  double curve = 0.0;
  bool open_foot = false;
};

// The walking engine: one Update is one cycle of the twelve leg joints. The
// feet follow the foot loop, its forward reach scaled by the speed in use;
// turning and side steps come from hip yaw-pitch and roll offsets that
// change sign at the half cycle. The commands are smoothed: the speed in
// use follows the commanded one by a step per cycle.
class WalkEngine {
 public:
  struct Inputs {
    WalkCommand command;
    const JointAngles* joint;  // this cycle's angles
  };

  explicit WalkEngine(const WalkParams& params = WalkParams());

  void Update(const Inputs& in, JointRequest* out) { Walk(in, out); }
  void Walk(const Inputs& in, JointRequest* out);
  // Forward walking stops at once and may not start again while the play
  // mode forbids moving: the speed in use and its ceiling become 0.
  void Halt();
  // All three smoothed commands back to 0: the next walk starts from a
  // standstill and ramps up.
  void Restart();

  // The forward speed the last Update walked with, in [-1, 1] (a Halt
  // since then does not change it).
  double CurrentSpeed() const { return current_speed_; }
  const ValueManager<double>& GetFootXWeight() const { return foot_x_weight_; }
  const ValueManager<double>& GetDirectionSpeed() const { return direction_speed_; }
  const ValueManager<double>& GetCurveSpeed() const { return curve_speed_; }
  const UserLocus& GetUserLocus() const { return locus_; }
  const WalkParams& Params() const { return params_; }

 private:
  const WalkParams params_;
  ValueManager<double> foot_x_weight_;
  ValueManager<double> direction_speed_;
  ValueManager<double> curve_speed_;
  double current_speed_ = 0.0;
  UserLocus locus_;
  FootWork left_;
  FootWork right_;
};

#endif  // VEKTORLING_AGENT_WALKING_WALKENGINE_H
