#ifndef VEKTORLING_AGENT_KICK_KICKENGINE_H
#define VEKTORLING_AGENT_KICK_KICKENGINE_H

#include <Eigen/Dense>

#include "agent/kick/KickWorkingValues.h"
#include "agent/me_kick/I_Kick.h"
#include "nao_model/JointId.h"
#include "nao_model/JointRequest.h"

class Ball;

// The open-play kick's constants. Angles in degrees, durations in cycles.
struct KickParams {
  double try_distance = 0.215;   // metres
  double escape_margin = 0.045;  // the ball has escaped this much further (metres)
  double cool_time = 0.8;        // seconds
  double full_power = 99999.0;   // proportion of the strike's radian commands
  // The kick is abandoned when the ball is further than this to the side.
  double max_ball_angle = 15.0;
  // The crouch starts at this hip pitch and deepens by one degree per cycle
  // to deepest_crouch before the weight goes onto the standing leg; it is
  // left once the centre of pressure is within steady_zmp (metres).
  double start_crouch = 20.0;
  double deepest_crouch = 40.0;
  double steady_zmp = 0.055;
  double crouch_knee = -2.0;   // knee per degree of crouch
  double crouch_ankle = 1.1;   // ankle per degree of crouch
  double crouch_gain = 0.1;
  // The weight shift rolls by shift_step per cycle up to max_shift, while
  // the crouch rises by rise_step per cycle.
  double max_shift = 10.0;
  double shift_step = 5.0;
  double rise_step = 2.0;
  double shift_gain = 0.5;
  // Setting the kicking leg (set_cycles): hip, knee, ankle pitch; the
  // standing leg's roll; the kicking hip's roll inwards for a ball closer
  // than centred_ball to the centre line, outwards from wide_ball on.
  int set_cycles = 4;
  double set_hip = 20.0;
  double set_knee = -50.0;
  double set_ankle = 15.0;
  double set_stand_roll = 10.0;
  double centred_ball = 0.01;
  double wide_ball = 0.07;
  double inward_roll = -10.0;
  double outward_roll = 20.0;
  double set_gain = 0.2;
  // The strike (fire_cycles): targets of the kicking and the standing leg,
  // driven at full power; the standing leg's roll adds fire_roll.
  int fire_cycles = 7;
  double fire_yaw = 15.0;
  double fire_hip = 80.0;
  double fire_knee_left = -35.0;
  double fire_knee_right = -45.0;
  double fire_ankle_left = 15.0;
  double fire_ankle_right = -15.0;
  double fire_stand_hip = -35.0;
  double fire_stand_ankle = 30.0;
  double fire_roll = 8.0;
  double fire_roll_gain = 0.5;
};

// The open-play kick: crouch, shift the weight onto the standing leg, set
// the kicking leg, strike. One Update is one cycle.
class KickEngine {
 public:
  enum Status { kRunning, kLookingForBall, kDone };

  struct Inputs {
    const JointAngles* joint;
    const Ball* ball;       // this cycle's sighting
    double zmp_norm;        // distance of the centre of pressure from the torso axis
    double game_time;
  };

  explicit KickEngine(const KickParams& params = KickParams());

  // kLookingForBall while it waits for the ball to come into view (the head
  // should search), kDone in the cycle the strike ends.
  Status Update(const Inputs& in, JointRequest* out) { return LumKick(in, out); }
  Status LumKick(const Inputs& in, JointRequest* out);

  // The ball has got away: further on the ground than the escape distance,
  // or too far to the side.
  bool BallEscaped(const Ball& ball) const;
  // Back to the start of a kick; a miss records its time.
  void Reset() { kick_.Reset(); }
  void Abandon(double game_time) {
    kick_.Reset();
    kick_.mistake_time_ = game_time;
  }

  const velk::I_Kick& GetKick() const { return kick_; }
  const KickParams& Params() const { return params_; }

 private:
  const KickParams params_;
  velk::I_Kick kick_;
  KickWorkingValues w_;
};

#endif  // VEKTORLING_AGENT_KICK_KICKENGINE_H
