// Behaviour selection (the state machine of what the robot does) and the
// choice of the start position it is beamed to.
#include "agent/Agent.h"
#include "action/Action.h"
#include "agent/CommonInformation.h"
#include "agent/ProcessState.h"
#include "agent/walking/Walking.h"

namespace {

// Game time from which a robot still waiting for the kick-off stays ready.
const double kLongWait = 300.0;
// Uniform number 11 keeps out of the way this long after a goal.
const double kAfterGoalPause = 4.2;

}  // namespace

void Agent::SelectBeam(Side side) {
  const CommonInformation& ci = ci_;
  const PlayMode pm = ci.br_.playmode;
  const bool own_kickoff = (pm == PlayMode::kBeforeKickOff && side == Side::kLeft) ||
                           (pm == PlayMode::kGoalRight && side == Side::kLeft) ||
                           (pm == PlayMode::kGoalLeft && side == Side::kRight);
  posture_.SelectBeam(own_kickoff, ci.id_, &bp);
}

bool Agent::JudgeFallingDown() const {
  if (beh == KICKOFF) return false;
  return stand_up_.JudgeFallingDown(body_.acc, body_.zmp);
}

bool Agent::FallCheck() {
  if (!JudgeFallingDown()) return false;
  stand_up_.PreventFalling(body_.joint, &request_);
  beh = STANDUP;
  return true;
}

void Agent::ReVision() {
  double yaw = ci_.total_.z();
  if (head_.ReVision(ci_.flag_, body_.joint, main_msg.vision_.see, &yaw)) ci_.total_.z() = yaw;
}

void Agent::SelectBehavior() {
  CommonInformation& ci = ci_;
  ProcessState& ps = ps_;
  Brain& br = ci.br_;
  const JointAngles& q = body_.joint;
  JointRequest* out = &request_;
  const HeadEngine::Inputs look{&q, ci.ball_};

  // Tactics that play the ball enter the kick from walking.
  if (beh == WALK && act_->WantsKick()) beh = KICK;

  switch (beh) {
    case READY:
      if (posture_.Update(q, out)) {
        head_.ForgetSweep();
        if (br.JudgeMovingPlayMode()) beh = WALK;
      }
      FallCheck();
      break;

    case WALK:
      if (FallCheck()) break;
      walk_.Update({ci.wk_->Command(), &q}, out);
      ReVision();
      head_.Update(look, out);
      walk_time_ += 0.02;
      break;

    case STANDUP:
      if (stand_up_.Complete()) {
        ci.total_.x() = 0.0;
        ci.total_.y() = 0.0;
        ReVision();
        stand_up_.Reset();
        head_.ForgetSweep();
        if (behavior_.walk_restart_from_zero) walk_.Restart();
        beh = READY;
        walk_time_ = 0.0;
      } else {
        const bool both_feet = body_.frp_l.existence && body_.frp_r.existence;
        stand_up_.Update({&q, both_feet, ci.wk_->GetZMP().y()}, out);
      }
      break;

    case KICK: {
      const KickEngine::Status status =
          kick_.Update({&q, ci.ball_, body_.zmp.norm(), br.game_time}, out);
      if (status == KickEngine::kLookingForBall) head_.Update(look, out);
      if (status == KickEngine::kDone) {
        beh = READY;
        kick_.Reset();
      } else if (kick_.BallEscaped(*ci.ball_)) {
        kick_.Abandon(br.game_time);
        beh = READY;
      }
      if (JudgeFallingDown()) {
        kick_.Reset();
        stand_up_.PreventFalling(q, out);
        beh = STANDUP;
      }
      break;
    }

    case KICKOFF:
      if (kickoff_.Update({&q, br.JudgeMyKickOffMode(), br.playmode == PlayMode::kPlayOn}, out)) beh = READY;
      if (FallCheck()) kickoff_.Restart();
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
