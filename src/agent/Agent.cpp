#include "agent/Agent.h"

#include <cstdlib>
#include <ctime>
#include <iostream>

#include "action/BallAction.h"
#include "action/FielderAction.h"
#include "agent/StandingUp.h"
#include "agent/finding/Finding.h"
#include "agent/motion_sequence/StandUpSequence.h"
#include "message/Hear.h"
#include "message/OriginalHear.h"
#include "message/Say.h"
#include "object/Ball.h"
#include "object/Object.h"
#include "object/Player.h"
#include "tool/UserLocus.h"
#include "tool/kinematics/FootWork.h"

namespace {

// Server version whose team messages use the compact dialect.
const char kOriginalDialect[] = "0.6.8";

// Code of the behaviour in the message to teammates.
int BehaviorCode(Agent::Behavior beh) {
  switch (beh) {
    case Agent::WAIT: return 0;
    case Agent::READY: return 1;
    case Agent::WALK: return 2;
    case Agent::STANDUP: return 3;
    case Agent::KICK:
    case Agent::Q_KICK:
    case Agent::KICKOFF: return 4;
    case Agent::JUMP: return 5;
    case Agent::DANCE: return 9;
  }
  return 0;
}

}  // namespace

const char* const Agent::kDefaultServerVersion = "0.6.7";

Agent::Agent(int num, std::string team, bool syn_mode, const std::string& server_version,
             Tactics tactics)
    : NaoModel(num, team, syn_mode),
      stup(new StandingUp()),
      fd(new Finding()),
      me_kick_(0.215, 0.8),
      say(nullptr),
      hear(nullptr),
      act_(nullptr),
      foot_work_left_(new FootWork()),
      foot_work_right_(new FootWork()),
      user_locus_(new UserLocus()),
      foot_x_weight_(-1.0, 1.0, 0.0, 1),
      direction_speed_(-1.0, 1.0, 0.0, 1),
      curve_speed_(-1.0, 1.0, 0.0, 1),
      walk_time_(0.0),
      falling_down_time(false),
      kickoff_step_(0),
      zmp_(Eigen::Vector2d::Zero()),
      f_score_(0),
      e_score_(0),
      territory_('N'),
      beh(READY),
      lumkickoffshoot_flg(false),
      original_dialect_(server_version == kOriginalDialect) {
  CommonInformation& ci = ci_;
  if (original_dialect_) {
    hear = new OriginalHear();
  } else {
    hear = new Hear();
  }
  hear->SetOwnTeam(team);
  hear->Watch(&ci.br_);
  if (tactics == Tactics::kBall) {
    TacticsInputs in;
    in.id = num;
    in.own = &ci.abs_->cod_;
    in.rotation = &ci.total_;
    in.ball = &ci.ball_abs_->cod_;
    in.sighting = ci.ball_;
    act_ = new BallAction(hear, ci.wk_, in);
  } else {
    act_ = new FielderAction(hear, ci.wk_);
  }
  std::srand(static_cast<unsigned>(std::time(nullptr)));
  say = new Say(hear);
  say->SetOriginalDialect(original_dialect_);
  say->Watch(&ci.id_, ci.abs_, ci.ball_abs_, ci.friend_abs_, ci.ball_);
  falling_down_time = false;
  if (num == 9) beh = KICKOFF;
  if (ci.id_ == 0) ci.id_ = num;
}

Agent::~Agent() {
  delete stup;
  delete fd;
  delete hear;
  delete say;
  delete act_;
  delete foot_work_left_;
  delete foot_work_right_;
  delete user_locus_;
}

const std::string& Agent::Run(const std::string& message) {
  CommonInformation& ci = ci_;
  ProcessState& ps = ps_;
  std::string& answer = answer_;
  answer.clear();
  said_.clear();  // the message to teammates, if any

  SetMainMessage(message);
  ParseMainMessage();
  JudgeTeamPlacement();

  // Body: joint sums, feet on the ground, gyro, pose, balance.
  SumAxisRotation();
  JudgeTouchingLeg();
  ClacTotalGyroAngle();
  CalcPartWorldCoordinate();
  CalcGravity();
  CalcMomentum();
  CalculateZMP();

  // No forward walking while the play mode forbids moving.
  if (!ci.br_.JudgeMovingPlayMode()) {
    foot_x_weight_.SetMax(0.0);
    foot_x_weight_.SetValue(0.0);
    if (ci.br_.JudgeMyKickOffMode() && GetID() == 9 && beh != KICKOFF) beh = KICKOFF;
  }

  if (ci.br_.playmode != "BeforeKickOff") {
    // The rest of the agent sees the field as the left team does.
    const bool see = main_msg.vision_.see;
    if (ci.br_.territory == 'R') Object::ReverseFlagsPosition(ci.flag_, see);
    if (see) UpdateObjects();
    if (beh != STANDUP) UpdateCoordinate();
    answer += Think();
  } else if (ci.br_.territory == 'N') {
    // Before the kick-off the side can be read from the goal posts in view:
    // the opponent's posts are the ones we face.
    if (ci.flag_[4]->visible && ci.flag_[5]->visible) {
      ci.br_.territory = 'L';
    } else if (ci.flag_[6]->visible && ci.flag_[7]->visible) {
      ci.br_.territory = 'R';
    }
  }

  SelectBeam(ci.br_.territory);
  if (ps.beam_count > 14) {
    if (ci.br_.playmode == "PlayOn") ps.beam_count = 0;
  } else {
    const bool before_kickoff = ci.br_.playmode == "BeforeKickOff";
    if ((before_kickoff && (frp_l_.existence || frp_r_.existence)) ||
        (!before_kickoff && ci.br_.JudgeGettingGoal())) {
      answer += bp.GetString();
    }
    ++ps.beam_count;
  }

  SelectBehavior();
  DecideNextJointAngle(answer);
  if (syn_mode_) answer += "(syn)";
  if (trace_ != nullptr) WriteTrace(*trace_, said_);
  return answer;
}

void Agent::ParseMainMessage() {
  CommonInformation& ci = ci_;
  NaoModel::ParseMessage();

  ci.hj1_ = hj1.rotation;
  ci.hj2_ = hj2.rotation;
  ci.br_.game_time = main_msg.ParseGameTime();

  const std::string& pm = main_msg.ParsePlayMode();
  if (pm != ci.br_.playmode) {
    ci.br_.prev_pm_ = ci.br_.playmode;
    ci.br_.playmode = pm;
  }

  f_score_ = main_msg.ParseScore('F');
  e_score_ = main_msg.ParseScore('E');
  territory_ = main_msg.ParseTerritory();
  ci.br_.territory = territory_;

  if (ci.br_.ene_team.empty()) {
    for (int i = 0; i < 2; ++i) {
      const std::string name = main_msg.ParseTeamName(i);
      if (name != team_) {
        ci.br_.ene_team = name;
        break;
      }
    }
  }

  if (!main_msg.ParseSeeMsg()) return;

  // The sightings go straight into the blackboard's objects, which keep
  // what a message leaves out; the landmarks first go back to their own
  // slots, which the right side's mirror of the last vision swapped.
  main_msg.ParseBall(*ci.ball_);
  Object::RestoreFlagOrder(ci.flag_);
  main_msg.ParseFlags(ci.flag_);
  for (int n = 1; n <= 11; ++n) {
    main_msg.ParsePlayer(team_, n, *ci.friend_[n]);
    main_msg.ParsePlayer(ci.br_.ene_team, n, *ci.enemy_[n]);
  }
}

void Agent::JudgeTeamPlacement() {
  // Searched for only while it matters: until placed, or for the first second.
  if (!placement_.Watching()) return;
  if (placement_.Observe(main_msg.ParseUniformNumber(), territory_)) {
    std::cerr << TeamPlacement::Warning(GetID(), GetTeamName()) << std::endl;
  }
}

void Agent::JudgeTouchingLeg() {
  CommonInformation& ci = ci_;
  const bool left = frp_l_.existence;
  const bool right = frp_r_.existence;
  if (left && right) {
    ci.touching_leg_ = 'B';
  } else if (right) {
    ci.touching_leg_ = 'R';
  } else if (left) {
    ci.touching_leg_ = 'L';
  }
}

const std::string& Agent::Think() {
  CommonInformation& ci = ci_;
  ci.br_.Update();

  int code = BehaviorCode(beh);
  if (!ci.ball_->visible) code += 10;
  const std::string& text = say->SetSayingMsg(ci.ball_->distance, code);
  act_->Act();

  if (!original_dialect_) {
    hear->SetHearingMsg(main_msg.GetMessage(), ID_, std::string());
    if (say->existing) return said_.assign("(say NEB_").append(text).append(")");
  } else {
    const Hearing& record =
        (hear_[0].myself_ && !hear_[1].text_.empty()) ? hear_[1] : hear_[0];
    hear->SetHearingMsg(record.text_, ID_, record.team_);
    if (say->existing) return said_.assign("(say _").append(text).append(")");
  }
  said_.clear();
  return said_;
}
