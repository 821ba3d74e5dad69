#include "agent/Agent.h"

#include <cstdlib>
#include <ctime>
#include <iostream>
#include <limits>

#include "action/BallAction.h"
#include "action/FielderAction.h"
#include "agent/walking/Walking.h"
#include "message/Hear.h"
#include "message/OriginalHear.h"
#include "message/Say.h"
#include "object/Ball.h"
#include "object/Object.h"
#include "object/Player.h"

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
             Tactics tactics, const MotionParams& params)
    : main_msg(num, team),
      syn_mode_(syn_mode),
      ID_(num),
      team_(team),
      walk_(params.walk),
      kick_(params.kick),
      kickoff_(params.kick_off),
      stand_up_(params.stand_up),
      head_(params.head),
      posture_(params.posture),
      behavior_(params.behavior),
      unsettled_time_(-std::numeric_limits<double>::infinity()),
      say(nullptr),
      hear(nullptr),
      act_(nullptr),
      walk_time_(0.0),
      beh(READY),
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
  if (num == 9) beh = KICKOFF;
  if (ci.id_ == 0) ci.id_ = num;
}

Agent::~Agent() {
  delete hear;
  delete say;
  delete act_;
}

const std::string& Agent::Run(const std::string& message) {
  answer_.clear();
  said_.clear();  // the message to teammates, if any

  ParseMainMessage(message);
  JudgeTeamPlacement();
  UpdateBody();
  JudgePlayMode();
  UpdateWorld();
  answer_ += Think();
  AnswerBeam();
  SelectBehavior();
  request_.DecideNextJointAngle(answer_);
  request_.Clear();
  if (syn_mode_) answer_ += "(syn)";
  if (trace_ != nullptr) WriteTrace(*trace_, said_);
  return answer_;
}

void Agent::ParseMainMessage(const std::string& message) {
  CommonInformation& ci = ci_;
  main_msg.SetMessage(message);
  for (int j = 0; j < kJointCount; ++j) {
    body_.joint[j] = main_msg.ParseJoint(NaoModel::kJointTable[j].p_name);
  }
  body_.gyro = main_msg.ParseGyro();
  body_.acc = main_msg.ParseAcc();
  body_.frp_l = main_msg.ParseFrp('L');
  body_.frp_r = main_msg.ParseFrp('R');
  for (int i = 0; i < 2; ++i) hear_[i] = main_msg.ParseHearingMsg(i);

  ci.br_.game_time = main_msg.ParseGameTime();

  // Every unknown text is kOther, so one unknown text after another is no
  // change here. prev_pm_ is read only during a kick-off, against the goals:
  // then it holds the mode of the text before the kick-off either way.
  const std::string& pm_text = main_msg.ParsePlayMode();
  const PlayMode pm = PlayModeFromName(pm_text);
  if (pm != ci.br_.playmode) {
    ci.br_.prev_pm_ = ci.br_.playmode;
    ci.br_.playmode = pm;
  }
  ci.br_.playmode_text = pm_text;

  ci.br_.f_score = main_msg.ParseScore('F');
  ci.br_.e_score = main_msg.ParseScore('E');
  ci.br_.territory = main_msg.ParseTerritory();

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
  if (placement_.Observe(main_msg.ParseUniformNumber(), ci_.br_.territory)) {
    std::cerr << TeamPlacement::Warning(GetID(), GetTeamName()) << std::endl;
  }
}

void Agent::UpdateBody() {
  CommonInformation& ci = ci_;
  body_step_.Update(ci.br_.game_time, &body_, &ci.total_);
  // The feet's own centre of pressure and the balance target.
  ci.wk_->CalclateZMP(body_.frp_l, body_.frp_r);
  ci.wk_->CalclateTargetZMP(body_.gravity, body_.acc.z());
}

void Agent::JudgePlayMode() {
  const Brain& br = ci_.br_;
  if (br.JudgeMovingPlayMode()) return;
  walk_.Halt();
  if (br.JudgeMyKickOffMode() && ID_ == 9 && beh != KICKOFF) beh = KICKOFF;
}

void Agent::UpdateWorld() {
  CommonInformation& ci = ci_;
  if (ci.br_.playmode == PlayMode::kBeforeKickOff) {
    JudgeSideFromGoalPosts();
    return;
  }
  // The rest of the agent sees the field as the left team does.
  const bool see = main_msg.vision_.see;
  if (ci.br_.territory == Side::kRight) Object::ReverseFlagsPosition(ci.flag_, see);
  if (see) UpdateObjects();
  if (SightingsCount()) UpdateCoordinate();
}

bool Agent::SightingsCount() {
  if (!behavior_.hold_estimates_when_fallen) return beh != STANDUP;
  // Lying, getting up and settling: the camera is not where the estimates
  // take it to be.
  const double now = ci_.br_.game_time;
  const bool lying = behavior_.upright_acc_z > 0.0 && body_.acc.z() < behavior_.upright_acc_z;
  if (beh == STANDUP || lying) unsettled_time_ = now;
  return now - unsettled_time_ >= behavior_.settle_time;
}

void Agent::JudgeSideFromGoalPosts() {
  CommonInformation& ci = ci_;
  if (ci.br_.territory != Side::kNone) return;
  // The opponent's posts are the ones we face.
  if (ci.flag_[4]->visible && ci.flag_[5]->visible) {
    ci.br_.territory = Side::kLeft;
  } else if (ci.flag_[6]->visible && ci.flag_[7]->visible) {
    ci.br_.territory = Side::kRight;
  }
}

void Agent::AnswerBeam() {
  CommonInformation& ci = ci_;
  ProcessState& ps = ps_;
  SelectBeam(ci.br_.territory);
  if (ps.beam_count > 14) {
    if (ci.br_.playmode == PlayMode::kPlayOn) ps.beam_count = 0;
    return;
  }
  const bool before_kickoff = ci.br_.playmode == PlayMode::kBeforeKickOff;
  if ((before_kickoff && (body_.frp_l.existence || body_.frp_r.existence)) ||
      (!before_kickoff && ci.br_.JudgeGettingGoal())) {
    answer_ += bp.GetString();
  }
  ++ps.beam_count;
}

const std::string& Agent::Think() {
  CommonInformation& ci = ci_;
  // Before the kick-off nobody talks and the tactics rest.
  said_.clear();
  if (ci.br_.playmode == PlayMode::kBeforeKickOff) return said_;
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
