#ifndef VEKTORLING_AGENT_KICK_KICKOFFENGINE_H
#define VEKTORLING_AGENT_KICK_KICKOFFENGINE_H

#include "agent/kick/KickOffProgress.h"
#include "agent/posture/Posture.h"
#include "nao_model/JointId.h"
#include "nao_model/JointRequest.h"

// One command of the kick-off script: proportional (gain) unless `fast`,
// which drives the joint at `gain` as a proportion in radians with the
// target clamped to the joint's limits.
struct ShotMove {
  JointId joint;
  double degree;
  double gain;
  bool fast;
};

struct ShotStage {
  ShotMove moves[9];  // up to the first with joint kJointCount
  int last_t;         // the stage ends once its counter exceeds this; -1: never
};

// The kick-off shot's constants.
struct KickOffParams {
  // The posture the kick-off taker waits in, reached at gain.
  JointPose posture = {0, 0, -100, 20, -90, 0, -100, -20, 90, 0, 0,
                       0, 25, -50, 25, 0, 0, 0, 25, -50, 25, 0};
  double posture_gain = 0.05;
  double dead_band = 0.2;
  // The shot with the left leg: crouch, stand, shift the weight onto the
  // right leg, draw the left leg back and strike; 138 cycles to the strike,
  // which is then held.
  static constexpr int kStages = 8;
  ShotStage shot[kStages] = {
      {{{kRlj3, 25, 0.1, false}, {kLlj3, 25, 0.1, false}, {kRlj4, -50, 0.1, false},
        {kLlj4, -50, 0.1, false}, {kRlj5, 25, 0.1, false}, {kLlj5, 25, 0.1, false}, kEnd, kEnd, kEnd}, 5},
      {{{kRlj3, 0, 0.1, false}, {kRlj4, 0, 0.1, false}, {kRlj5, 0, 0.1, false},
        {kLlj3, 0, 0.1, false}, {kLlj4, 0, 0.1, false}, {kLlj5, 0, 0.1, false}, kEnd, kEnd, kEnd}, 10},
      {{{kRlj2, -13, 0.2, false}, {kRlj6, 13, 0.2, false}, {kLlj2, -13, 0.2, false},
        {kLlj6, 13, 0.2, false}, {kRlj3, 20, 0.2, false}, {kRlj4, -40, 0.2, false},
        {kRlj5, 20, 0.2, false}, kEnd, kEnd}, 20},
      {{{kLlj3, -34, 0.1, false}, {kLlj5, 25, 0.1, false}, kEnd, kEnd, kEnd, kEnd, kEnd, kEnd, kEnd}, 18},
      {{{kLlj5, 30, 0.1, false}, {kLlj3, -20, 0.2, false}, {kLlj2, 0, 0.1, false},
        {kLlj6, 0, 0.1, false}, {kRlj2, 9, 0.05, false}, {kRlj6, -9, 0.05, false}, kEnd, kEnd, kEnd}, 40},
      {{{kLlj1, 5, 0.1, false}, {kRlj4, 1, 0.01, false}, {kRlj5, 16.9, 0.1, false},
        {kLlj5, 60, 0.2, false}, {kLlj3, 0, 0.2, false}, {kLlj4, -85, 0.2, false}, kEnd, kEnd, kEnd}, 30},
      {{{kLlj5, -35, 7, false}, kEnd, kEnd, kEnd, kEnd, kEnd, kEnd, kEnd, kEnd}, 8},
      {{{kLlj4, -80, 7, false}, {kLlj3, 140, 999999999, true}, {kLlj5, -35, 7, false},
        {kLlj1, -10, 7, false}, {kLlj2, 17, 7, false}, {kRlj3, -100, 6.085, true},
        {kRlj4, -30, 6, false}, {kRlj2, 11, 6, false}, {kRlj5, -90, 6, false}}, -1},
  };

 private:
  static constexpr ShotMove kEnd = {kJointCount, 0, 0, false};
};

// The kick-off taker: it takes its waiting posture, then, at its own
// kick-off, plays the shot; at the opponent's it waits for play to start.
class KickOffEngine {
 public:
  struct Inputs {
    const JointAngles* joint;
    bool my_kick_off;  // the play mode is the own team's kick-off
    bool play_on;
  };

  explicit KickOffEngine(const KickOffParams& params = KickOffParams()) : params_(params) {}

  // One cycle; true when the kick-off is over for this player (play has
  // started after the opponent's kick-off; the own shot never ends itself).
  bool Update(const Inputs& in, JointRequest* out);
  // The next kick-off starts from its posture, its shot from the start.
  void Restart() {
    shoot_restart_ = true;
    step_ = 0;
  }

  // One cycle of the shot with leg 'L' (the script is written for the left
  // leg only: any other leg commands nothing); always false.
  bool LumKickOffShootShinn(char leg, const JointAngles& now, JointRequest* out);
  void SetKickOffJoint(const JointAngles& now, double gain, JointRequest* out) const {
    SetPosture(params_.posture, now, gain, out);
  }
  bool CheckKickOffJoint(const JointAngles& now) const {
    return CheckPosture(params_.posture, now, 0, kJointCount - 1, params_.dead_band);
  }

  int GetKickOffStep() const { return step_; }
  bool GetKickOffShootFlag() const { return shoot_restart_; }
  const KickOffProgress& Progress() const { return progress_; }
  const KickOffParams& Params() const { return params_; }

 private:
  const KickOffParams params_;
  KickOffProgress progress_;
  int step_ = 0;                // 0: taking the posture, 1: at the kick-off
  bool shoot_restart_ = false;  // the shot starts afresh at its next cycle
};

#endif  // VEKTORLING_AGENT_KICK_KICKOFFENGINE_H
