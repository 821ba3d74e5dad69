// Behaviour selection (the state machine of what the robot does) and the
// choice of the start position it is beamed to.
#include <cmath>
#include <cstdlib>

#include "agent/Agent.h"
#include "action/Action.h"
#include "agent/CommonInformation.h"
#include "agent/ProcessState.h"
#include "agent/StandingUp.h"
#include "agent/finding/Finding.h"
#include "agent/kick/KickProgress.h"
#include "object/Ball.h"
#include "tool/Tool.h"

namespace {

struct StartPosition {
  double x, y, rotation;
};

// Start positions by uniform number (row 0 for numbers outside 1..11), in
// the server's beam frame: own half at negative x, rotation in degrees.
const StartPosition kStartNotOwnKickOff[12] = {
    {-2.5, 0, 0}, {-14.5, 0, 0}, {-12.5, 0.5, 0}, {-11, -2.5, 0}, {-10, 2, 0}, {-7.5, -1, 0},
    {-7, 4, 0},   {-5, 0.5, 0},  {-2, -2, 0},     {-3, 1.5, 0},   {-2.5, 3, 0}, {-4, -1.5, 0}};
const StartPosition kStartOwnKickOff[12] = {
    {-2.5, 0, 0},   {-14.5, 0, 0}, {-12.5, 0.5, 0}, {-11, -2.5, 0},
    {-10, 2, 0},    {-7.5, -1, 0}, {-6.5, 4, 0},    {-5, 0.5, 0},
    {-3, -2, 0},    {-0.1522820323027551, -0.09956406460551018, 20},
    {-2, 3, 0},     {-0.1, 5.85, 0}};

// Game time from which a robot still waiting for the kick-off stays ready.
const double kLongWait = 300.0;
// Uniform number 11 keeps out of the way this long after a goal.
const double kAfterGoalPause = 4.2;
// The kick is abandoned when the ball is further than 15 degrees to the side.
const double kKickMaxBallAngle = 15.0;

}  // namespace

void Agent::SelectBeam(Side side) {
  const CommonInformation& ci = ci_;
  const PlayMode pm = ci.br_.playmode;
  const bool own_kickoff = (pm == PlayMode::kBeforeKickOff && side == Side::kLeft) ||
                           (pm == PlayMode::kGoalRight && side == Side::kLeft) ||
                           (pm == PlayMode::kGoalLeft && side == Side::kRight);
  const int row = (ci.id_ >= 1 && ci.id_ <= 11) ? ci.id_ : 0;
  const StartPosition& p = own_kickoff ? kStartOwnKickOff[row] : kStartNotOwnKickOff[row];
  bp.Setup(p.x, p.y, p.rotation);
}

bool Agent::FallCheck() {
  if (!JudgeFallingDown()) return false;
  PreventFalling();
  beh = STANDUP;
  return true;
}

void Agent::SelectBehavior() {
  CommonInformation& ci = ci_;
  ProcessState& ps = ps_;
  Brain& br = ci.br_;

  ci.wk_->CalclateZMP(frp_l_, frp_r_);
  ci.wk_->CalclateTargetZMP(ci.gravity_, acc_.z());

  // Tactics that play the ball enter the kick from walking.
  if (beh == WALK && act_->WantsKick()) beh = KICK;

  switch (beh) {
    case READY:
      if (CheckDefaultJoint()) {
        fd->vt = Finding::NONE_V;
        fd->hz = Finding::NONE_H;
        if (br.JudgeMovingPlayMode()) beh = WALK;
      } else {
        SetDefaultJoint(0.15);
      }
      FallCheck();
      break;

    case WALK:
      if (FallCheck()) break;
      Walk();
      ReVision();
      KeepSeeingBall();
      walk_time_ += 0.02;
      break;

    case STANDUP:
      if (stup->complete) {
        ci.total_.x() = 0.0;
        ci.total_.y() = 0.0;
        ReVision();
        stup->Reset();
        fd->vt = Finding::NONE_V;
        fd->hz = Finding::NONE_H;
        beh = READY;
        walk_time_ = 0.0;
      } else {
        NextStandUp();
      }
      break;

    case KICK: {
      LumKick();
      if (me_kick_.complete_) {
        beh = READY;
        me_kick_.Reset();
      } else {
        const Ball& ball = *ci.ball_;
        const double horizontal =
            std::cos(Tool::ToRadians(ball.v_abyss)) * ball.distance;
        if (horizontal > me_kick_.ESCAPE_DISTANCE_ ||
            std::fabs(ball.h_abyss) > kKickMaxBallAngle) {
          me_kick_.Reset();
          me_kick_.mistake_time_ = br.game_time;
          beh = READY;
        }
      }
      if (JudgeFallingDown()) {
        kick_progress_ = KickProgress();
        me_kick_.Reset();
        PreventFalling();
        beh = STANDUP;
      }
      break;
    }

    case KICKOFF:
      if (kickoff_step_ == 0) {
        SetKickOffJoint(0.05);
        if (CheckKickOffJoint()) kickoff_step_ = 1;
      } else if (kickoff_step_ == 1) {
        bool finished;
        if (br.JudgeMyKickOffMode()) {
          finished = LumKickOffShootShinn('L');  // the script is written for both sides
        } else {
          finished = br.playmode == PlayMode::kPlayOn;
        }
        if (finished) {
          beh = READY;
          lumkickoffshoot_flg = true;
          kickoff_step_ = 0;
        }
      }
      if (FallCheck()) {
        lumkickoffshoot_flg = true;
        kickoff_step_ = 0;
      }
      break;

    default:
      break;
  }

  // Game-level overrides.
  if ((br.playmode == PlayMode::kBeforeKickOff && br.game_time >= kLongWait) ||
      br.JudgeGettingGoal()) {
    beh = READY;
  }
  if (ID_ == 11) {
    if (br.JudgeGettingGoal()) ps.ws_time = br.game_time;
    if (br.game_time - ps.ws_time <= kAfterGoalPause && br.JudgeMyKickOffMode()) beh = READY;
  }
  if (ID_ == 12) {
    if (br.playmode != PlayMode::kBeforeKickOff) beh = KICK;
  }
  if (ID_ == 9) {
    if ((br.territory == Side::kLeft && br.playmode == PlayMode::kKickOffLeft &&
         br.prev_pm_ == PlayMode::kGoalRight) ||
        (br.territory == Side::kRight && br.playmode == PlayMode::kKickOffRight &&
         br.prev_pm_ == PlayMode::kGoalLeft)) {
      beh = KICKOFF;
    }
  }
}
