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

// Visits every other player in slot order, own team first.
template <class Visit>
void ForEachPlayer(CommonInformation& ci, Visit visit) {
  for (int k = 1; k <= 11; ++k) {
    visit(k, *ci.friend_[k]);
    visit(k, *ci.enemy_[k]);
  }
}

}  // namespace

void Agent::UpdateObjects() {
  CommonInformation& ci = ci_;
  const double hj1 = body_.joint[kHj1];
  const double hj2 = body_.joint[kHj2];
  ci.ball_->UpdateAbyss(hj1, hj2);
  for (Object* flag : ci.flag_) flag->UpdateAbyss(hj1, hj2);
  ForEachPlayer(ci, [hj1, hj2](int k, Player& p) {
    if (p.ID == 0) p.ID = k;
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
  ForEachPlayer(ci, [yaw](int, Player& p) {
    for (int i = 0; i < Player::kPartCount; ++i) p.PartAt(i)->UpdateRelativeCoordinate(0, yaw);
  });

  Ball& ball = *ci.ball_;
  AbsoluteCoordinate& ball_abs = *ci.ball_abs_;
  if (ball.visible) {
    ball_abs.UpdateGenerate(ball.rel_cod_, ci.abs_->cod_, in);
    ball_abs.CalcAbspeed(ci.br_.game_time, in.see);
    if (!(beh == WALK && std::fabs(ball.h_abyss) <= kBallAheadAngle)) ball_abs.InitSpeedAndAcc();
  } else {
    ball_abs.InitSpeedAndAcc();
  }

  ForEachPlayer(ci, [&ci, &in](int, Player& p) {
    const std::pair<Object*, AbsoluteCoordinate*> parts[] = {
        {&p.head, &p.head_abs_}, {&p.rarm, &p.rarm_abs_}, {&p.larm, &p.larm_abs_},
        {&p.rfoot, &p.rfoot_abs_}, {&p.lfoot, &p.lfoot_abs_}};
    for (const auto& part : parts) {
      if (part.first->visible) part.second->UpdateGenerate(part.first->rel_cod_, ci.abs_->cod_, in);
    }
  });
}
