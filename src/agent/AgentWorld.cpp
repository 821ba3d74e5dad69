// World update: directions, relative positions and field estimates of what
// the robot sees.
#include <cmath>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "agent/walking/Walking.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "object/Ball.h"
#include "object/Object.h"
#include "object/Player.h"

namespace {

// While walking, a ball within this angle of the body's front (degrees) is
// being approached: its speed estimate is kept. Otherwise it reads as 0.
constexpr double kBallAheadAngle = 40.0;

static_assert(PartEstimates::kPartCount == Player::kPartCount, "one estimate per part");

// Visits every other player in slot order, own team first, with the
// estimates of its parts.
template <class Visit>
void ForEachPlayer(CommonInformation& ci, Visit visit) {
  for (int k = 1; k <= 11; ++k) {
    visit(*ci.friend_[k], ci.friend_parts_abs_[k]);
    visit(*ci.enemy_[k], ci.enemy_parts_abs_[k]);
  }
}

}  // namespace

void Agent::UpdateObjects() {
  CommonInformation& ci = ci_;
  const double hj1 = body_.joint[kHj1];
  const double hj2 = body_.joint[kHj2];
  ci.ball_->UpdateAbyss(hj1, hj2);
  for (Object* flag : ci.flag_) flag->UpdateAbyss(hj1, hj2);
  ForEachPlayer(ci, [hj1, hj2](Player& p, PartEstimates&) {
    for (int i = 0; i < Player::kPartCount; ++i) p.PartAt(i)->UpdateAbyss(hj1, hj2);
  });
}

void Agent::UpdateCoordinate() {
  CommonInformation& ci = ci_;
  EstimateInputs in;
  in.see = main_msg.vision_.see;
  in.total = ci.total_;
  in.walk_speed = walk_.CurrentSpeed();
  in.walk_direction = ci.wk_->GetDirection();
  in.walk_curve = ci.wk_->GetCurve();
  in.ball = ci.ball_;
  const double yaw = ci.total_(2);
  for (int i = 0; i < CommonInformation::kFlagNum; ++i) {
    ci.flag_[i]->UpdateRelativeCoordinate(i, yaw);
    ci.flag_[i]->UpdateMeasureCovarianceError(i, yaw);
  }
  ci.abs_->Update(ci.flag_, in);
  ci.abs_->CalcAbspeed(ci.br_.game_time, in.see);

  ci.ball_->UpdateRelativeCoordinate(0, yaw);
  ForEachPlayer(ci, [yaw](Player& p, PartEstimates&) {
    for (int i = 0; i < Player::kPartCount; ++i) p.PartAt(i)->UpdateRelativeCoordinate(0, yaw);
  });

  Ball& ball = *ci.ball_;
  AbsoluteCoordinate& ball_abs = *ci.ball_abs_;
  if (ball.visible) {
    ball_abs.UpdateGenerate(ball.rel_cod_, ci.abs_->cod_, in);
    ball_abs.CalcAbspeed(ci.br_.game_time, in.see);
    if (!(beh == WALK && std::fabs(ball.h_abyss) <= kBallAheadAngle)) ball_abs.ResetSpeed();
  } else {
    ball_abs.ResetSpeed();
  }

  ForEachPlayer(ci, [&ci, &in](Player& p, PartEstimates& estimates) {
    for (int i = 0; i < Player::kPartCount; ++i) {
      const Object& part = *p.PartAt(i);
      if (part.visible) estimates.part[i].UpdateGenerate(part.rel_cod_, ci.abs_->cod_, in);
    }
  });
}
