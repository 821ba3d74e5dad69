#include "agent/kick/KickEngine.h"

#include <cmath>

#include "object/Ball.h"
#include "tool/Tool.h"

KickEngine::KickEngine(const KickParams& params)
    : params_(params), kick_(params.try_distance, params.cool_time, params.full_power, params.escape_margin) {
  w_.movement = params_.start_crouch;
}

bool KickEngine::BallEscaped(const Ball& ball) const {
  const double horizontal = std::cos(Tool::ToRadians(ball.v_abyss)) * ball.distance;
  return horizontal > kick_.ESCAPE_DISTANCE_ || std::fabs(ball.h_abyss) > params_.max_ball_angle;
}

KickEngine::Status KickEngine::LumKick(const Inputs& in, JointRequest* out) {
  const KickParams& p = params_;
  const JointAngles& q = *in.joint;
  KickWorkingValues& w = w_;
  velk::I_Kick& k = kick_;
  Status status = kRunning;

  switch (k.st_) {
    case velk::I_Kick::STANDBY:
      w.f = k.NOT_TRY_;
      w.gravity = 0.0;
      w.movement = p.start_crouch;
      if (in.ball->visible) {
        w.f = k.ChooseLeg(*in.ball, Eigen::Vector2d(q[kHj1], q[kHj2]));
        k.st_ = velk::I_Kick::SET;
      } else {
        status = kLookingForBall;
      }
      break;

    case velk::I_Kick::SET: {
      if (w.movement <= p.deepest_crouch) {
        w.movement += 1.0;
      } else if (in.zmp_norm < p.steady_zmp) {
        k.st_ = w.f >= 0.0 ? velk::I_Kick::LEFT1 : velk::I_Kick::RIGHT1;
      }
      const double m = w.movement;
      for (JointId j : {kRlj3, kLlj3}) out->SetNextJointAngle(q, j, m, p.crouch_gain);
      for (JointId j : {kRlj4, kLlj4}) out->SetNextJointAngle(q, j, p.crouch_knee * m, p.crouch_gain);
      for (JointId j : {kRlj5, kLlj5}) out->SetNextJointAngle(q, j, p.crouch_ankle * m, p.crouch_gain);
      for (JointId j : {kRlj2, kRlj6, kLlj2, kLlj6}) out->SetNextJointAngle(q, j, 0.0, p.crouch_gain);
      break;
    }

    case velk::I_Kick::LEFT1:
    case velk::I_Kick::RIGHT1: {
      // The left kick stands on the right leg; the right kick is its mirror.
      const bool left = k.st_ == velk::I_Kick::LEFT1;
      const JointId stand2 = left ? kRlj2 : kLlj2, stand3 = left ? kRlj3 : kLlj3,
                    stand4 = left ? kRlj4 : kLlj4, stand5 = left ? kRlj5 : kLlj5,
                    stand6 = left ? kRlj6 : kLlj6;
      const JointId kick2 = left ? kLlj2 : kRlj2, kick3 = left ? kLlj3 : kRlj3,
                    kick4 = left ? kLlj4 : kRlj4, kick5 = left ? kLlj5 : kRlj5,
                    kick6 = left ? kLlj6 : kRlj6;
      const double side = left ? 1.0 : -1.0;
      if (w.gravity < p.max_shift) w.gravity += p.shift_step;
      if (w.movement > 0.0) {
        w.movement -= p.rise_step;
        const double m = w.movement;
        const double g = side * w.gravity;
        out->SetNextJointAngle(q, stand3, m, p.shift_gain);
        out->SetNextJointAngle(q, stand4, p.crouch_knee * m, p.shift_gain);
        out->SetNextJointAngle(q, stand5, m, p.shift_gain);
        out->SetNextJointAngle(q, kLlj2, g, p.shift_gain);
        out->SetNextJointAngle(q, kRlj2, g, p.shift_gain);
        out->SetNextJointAngle(q, kLlj6, -g, p.shift_gain);
        out->SetNextJointAngle(q, kRlj6, -g, p.shift_gain);
      } else {
        const double f = std::fabs(w.f);
        const double roll = f < p.centred_ball ? p.inward_roll : f >= p.wide_ball ? p.outward_roll : 0.0;
        out->SetNextJointAngle(q, kick3, p.set_hip, p.set_gain);
        out->SetNextJointAngle(q, kick4, p.set_knee, p.set_gain);
        out->SetNextJointAngle(q, kick5, p.set_ankle, p.set_gain);
        out->SetNextJointAngle(q, stand2, side * p.set_stand_roll, p.set_gain);
        out->SetNextJointAngle(q, stand6, -side * p.set_stand_roll, p.set_gain);
        out->SetNextJointAngle(q, kick2, side * roll, p.set_gain);
        out->SetNextJointAngle(q, kick6, -side * roll, p.set_gain);
        if (++k.count_ >= p.set_cycles) {
          k.st_ = left ? velk::I_Kick::FIRE_LEFT : velk::I_Kick::FIRE_RIGHT;
          k.count_ = 0;
        }
      }
      break;
    }

    case velk::I_Kick::FIRE_LEFT:
    case velk::I_Kick::FIRE_RIGHT: {
      const bool left = k.st_ == velk::I_Kick::FIRE_LEFT;
      const double power = k.full_power_;
      const double g = w.gravity;
      if (left) {
        out->SetEJoint3(q, kLlj1, p.fire_yaw, power);
        out->SetEJoint3(q, kLlj3, p.fire_hip, power);
        out->SetEJoint3(q, kLlj4, p.fire_knee_left, power);
        out->SetEJoint3(q, kLlj5, p.fire_ankle_left, power);
        out->SetEJoint3(q, kRlj3, p.fire_stand_hip, power);
        out->SetEJoint3(q, kRlj5, p.fire_stand_ankle, power);
        out->SetNextJointAngle(q, kRlj2, g + p.fire_roll, p.fire_roll_gain);
        out->SetNextJointAngle(q, kRlj6, -g - p.fire_roll, p.fire_roll_gain);
      } else {
        out->SetEJoint3(q, kRlj1, p.fire_yaw, power);
        out->SetEJoint3(q, kRlj3, p.fire_hip, power);
        out->SetEJoint3(q, kRlj4, p.fire_knee_right, power);
        out->SetEJoint3(q, kRlj5, p.fire_ankle_right, power);
        out->SetEJoint3(q, kLlj3, p.fire_stand_hip, power);
        out->SetEJoint3(q, kLlj5, p.fire_stand_ankle, power);
        out->SetNextJointAngle(q, kLlj2, -g - p.fire_roll, p.fire_roll_gain);
        out->SetNextJointAngle(q, kLlj6, g + p.fire_roll, p.fire_roll_gain);
      }
      if (++k.count_ >= p.fire_cycles) {
        k.st_ = velk::I_Kick::STANDBY;
        k.count_ = 0;
        k.during_ = false;
        k.mistake_time_ = 0.0;
        w.f = k.NOT_TRY_;
        w.gravity = 0.0;
        w.movement = p.start_crouch;
        k.complete_ = true;
        k.last_comp_time_ = in.game_time;
      }
      break;
    }

    default:
      break;
  }
  if (w.gravity < 0.0) w.gravity = 0.0;
  if (w.movement < 0.0) w.movement = 0.0;
  return k.complete_ ? kDone : status;
}
