// What the player believes, gathered for drawing.
#include <Eigen/Core>

#include "action/Action.h"
#include "action/BallAction.h"
#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "agent/Beliefs.h"
#include "message/Hear.h"

namespace {

// The player's own frame (corner flags at x = +-10, y = +-15, the opponent's
// goal at y = -15) into the server's field frame, where the right side plays
// towards -x. A reflection: the same for points and directions. An unknown
// side counts as the left.
Eigen::Vector2d ToField(Side side, const Eigen::Vector2d& v) {
  return side == Side::kRight ? Eigen::Vector2d(v.y(), v.x()) : Eigen::Vector2d(-v.y(), -v.x());
}

}  // namespace

draw::Beliefs Agent::GatherBeliefs() const {
  const CommonInformation& ci = ci_;
  const Side side = ci.br_.territory;
  draw::Beliefs b;
  b.team = team_;
  b.number = ID_ > 0 ? ID_ : placement_.Number();
  b.side = side;
  b.position = ToField(side, ci.abs_->cod_.head<2>());
  b.heading = ToField(side, BallAction::Forward(ci.total_.z()));
  b.ball = ToField(side, ci.ball_abs_->cod_.head<2>());
  // Before the kick-off the tactics rest (see Think): their last target is old.
  if (ci.br_.playmode != PlayMode::kBeforeKickOff) {
    if (const std::optional<Eigen::Vector2d> target = act_->WalkTarget()) b.target = ToField(side, *target);
  }
  const int mate = hear->GetNearBallFri();
  if (mate >= 1 && mate <= 11 && mate == b.number) {
    b.mate = b.position;
  } else if (mate >= 1 && mate <= 11 && hear->reported_[mate]) {
    b.mate = ToField(side, Eigen::Vector2d(hear->h_abs_x[mate], hear->h_abs_y[mate]));
  }
  b.behavior = BehaviorName(beh);
  b.play_mode = ci.br_.playmode_text;
  return b;
}
