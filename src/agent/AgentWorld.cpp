// World update: directions, relative positions and field estimates of what
// the robot sees.
#include <cmath>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
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
  CommonInformation& ci = Singleton<CommonInformation>::Get();
  ci.ball_->UpdateAbyss();
  for (Object* flag : ci.flag_) flag->UpdateAbyss();
  ForEachPlayer(ci, [](int k, Player& p) {
    if (p.ID == 0) p.ID = k;
    for (int i = 0; i < Player::kPartCount; ++i) p.PartAt(i)->UpdateAbyss();
  });
}

void Agent::UpdateCoordinate() {
  CommonInformation& ci = Singleton<CommonInformation>::Get();
  for (int i = 0; i < CommonInformation::kFlagNum; ++i) {
    ci.flag_[i]->UpdateRelativeCoordinate(i);
    ci.flag_[i]->UpdateMeasureCovarianceError(i);
  }
  ci.abs_->Update(ci.flag_);
  ci.abs_->CalcAbspeed(ci.br_.game_time);

  ci.ball_->UpdateRelativeCoordinate(0);
  ForEachPlayer(ci, [](int, Player& p) {
    for (int i = 0; i < Player::kPartCount; ++i) p.PartAt(i)->UpdateRelativeCoordinate(0);
  });

  Ball& ball = *ci.ball_;
  AbsoluteCoordinate& ball_abs = *ci.ball_abs_;
  if (ball.visible) {
    ball_abs.UpdateGenerate(ball.rel_cod_, ci.abs_->cod_);
    ball_abs.CalcAbspeed(ci.br_.game_time);
    if (!(beh == WALK && std::fabs(ball.h_abyss) <= kBallAheadAngle)) ball_abs.InitSpeedAndAcc();
  } else {
    ball_abs.InitSpeedAndAcc();
  }

  ForEachPlayer(ci, [&ci](int, Player& p) {
    const std::pair<Object*, AbsoluteCoordinate*> parts[] = {
        {&p.head, &p.head_abs_}, {&p.rarm, &p.rarm_abs_}, {&p.larm, &p.larm_abs_},
        {&p.rfoot, &p.rfoot_abs_}, {&p.lfoot, &p.lfoot_abs_}};
    for (const auto& part : parts) {
      if (part.first->visible) part.second->UpdateGenerate(part.first->rel_cod_, ci.abs_->cod_);
    }
  });
}
