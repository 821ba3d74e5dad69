#ifndef VEKTORLING_AGENT_AGENT_H
#define VEKTORLING_AGENT_AGENT_H

#include <map>
#include <memory>
#include <ostream>
#include <string>

#include <Eigen/Dense>

#include "action/Tactics.h"
#include "agent/CommonInformation.h"
#include "agent/ProcessState.h"
#include "agent/TeamPlacement.h"
#include "agent/kick/KickOffProgress.h"
#include "agent/kick/KickProgress.h"
#include "agent/kick/KickWorkingValues.h"
#include "agent/me_kick/I_Kick.h"
#include "agent/motion_sequence/NextJoint.h"
#include "agent/walking/Walking.h"
#include "nao_model/NaoModel.h"
#include "tool/ValueManager.h"

class StandingUp;
class Finding;
class Say;
class Hear;
class Action;
class FootWork;
class StandUpSequence;
class UserLocus;

// The robot's mind on top of its body model: one call of Run is one
// sense-think-act cycle, from the server's message to the answer.
class Agent : public NaoModel {
public:
  static const char* const kDefaultServerVersion;

  enum Behavior { WAIT = 0, READY = 1, WALK = 2, STANDUP = 3, KICK = 4, Q_KICK = 5,
                  KICKOFF = 6, JUMP = 7, DANCE = 8 };

  // server_version: the version the server is assumed to run; "0.6.8"
  // speaks the compact dialect of team messages. tactics: what the legs do
  // in open play.
  Agent(int num, std::string team, bool syn_mode,
        const std::string& server_version = kDefaultServerVersion,
        Tactics tactics = Tactics::kDefault);
  ~Agent() override;
  Agent(const Agent&) = delete;
  Agent& operator=(const Agent&) = delete;

  // One cycle: parse, update body and world, decide, answer. The answer
  // lives in the agent and stays valid until the next cycle; its buffer is
  // reused, so that a cycle takes nothing from the heap.
  const std::string& Run(const std::string& message);

  // Steps of the cycle.
  void ParseMainMessage();
  // Warns once on standard error when the server has not placed the player
  // in a team within the first second.
  void JudgeTeamPlacement();
  void JudgeTouchingLeg();
  // The message to teammates, valid until the next call.
  const std::string& Think();

  // Body kinematics and balance.
  void SumAxisRotation();
  void ClacTotalGyroAngle();
  void CalcPartWorldCoordinate();
  void CalcGravity();
  void CalcMomentum();
  void CalculateZMP();

  // World update.
  void UpdateObjects();
  void UpdateCoordinate();

  // Behaviour selection and beaming.
  void SelectBehavior();
  void SelectBeam(Side side);

  // Joint control.
  void SetNextJointAngle(const std::string& id, double angle, double gain);
  void SetEJoint3(const std::string& index, double tgt_deg, double proportion);
  void SetDefaultJoint(double gain);
  void SetErectPosture(double gain);
  void SetKickOffJoint(double gain);
  bool CheckDefaultJoint();
  bool CheckKickOffJoint();
  void DecideNextJointAngle(std::string& out);
  void DecideNextJointAngle(std::ostream& out);

  // Falls.
  bool JudgeFallingDown();
  void PreventFalling();
  void NextStandUp();

  // Head control.
  void SearchObjectH();
  void SearchObjectV();
  bool KeepSeeingBall();
  bool ReVision();

  // Motions.
  void Walk();
  void LumKick();
  bool LumKickOffShootShinn(char leg);

  // Writes one JSON line per cycle to out (null: none).
  void SetTrace(std::ostream* out) { trace_ = out; }
  void WriteTrace(std::ostream& out, const std::string& said) const;

  // Read access for callers and tests.
  Behavior GetBehavior() const { return beh; }
  void SetBehavior(Behavior b) { beh = b; }
  const Eigen::Vector2d& GetZMP() const { return zmp_; }
  const NextJoint& GetNextJoint() const { return m_next_j; }
  const Beam& GetBeam() const { return bp; }
  int GetFriendScore() const { return f_score_; }
  int GetEnemyScore() const { return e_score_; }
  const StandingUp& GetStandingUp() const { return *stup; }
  const Finding& GetFinding() const { return *fd; }
  const velk::I_Kick& GetKick() const { return me_kick_; }
  double GetWalkTime() const { return walk_time_; }
  int GetKickOffStep() const { return kickoff_step_; }
  bool GetKickOffShootFlag() const { return lumkickoffshoot_flg; }
  const ValueManager<double>& GetFootXWeight() const { return foot_x_weight_; }
  const ValueManager<double>& GetDirectionSpeed() const { return direction_speed_; }
  const ValueManager<double>& GetCurveSpeed() const { return curve_speed_; }
  const UserLocus& GetUserLocus() const { return *user_locus_; }
  // The agent's blackboard.
  CommonInformation& GetBlackboard() { return ci_; }
  const CommonInformation& GetBlackboard() const { return ci_; }

private:
  bool CheckPosture(const double* posture, int first, int last);
  void SetPosture(const double* posture, double gain);
  // The fall check of the behaviour handlers: true when the robot falls.
  bool FallCheck();

  // Everything the agent keeps across messages lives in its members: the
  // blackboard, the counters and integrator samples, the kicks' stages and
  // the stand-up script (read on first use). A new Agent starts afresh.
  CommonInformation ci_;
  ProcessState ps_;
  KickProgress kick_progress_;
  KickOffProgress kickoff_progress_;
  KickWorkingValues kick_values_;
  std::unique_ptr<StandUpSequence> stand_up_sequence_;

  NextJoint m_next_j;
  Walking wk_;
  StandingUp* stup;
  Finding* fd;
  velk::I_Kick me_kick_;
  Say* say;
  Hear* hear;
  Action* act_;
  FootWork* foot_work_left_;
  FootWork* foot_work_right_;
  UserLocus* user_locus_;
  ValueManager<double> foot_x_weight_;
  ValueManager<double> direction_speed_;
  ValueManager<double> curve_speed_;
  double walk_time_;
  bool falling_down_time;
  int kickoff_step_;
  Eigen::Vector2d zmp_;
  int f_score_;
  int e_score_;
  Side territory_;
  Behavior beh;
  bool lumkickoffshoot_flg;
  std::ostream* trace_ = nullptr;
  std::string answer_;  // the answer of the current cycle
  std::string said_;    // the say command of the current cycle
  TeamPlacement placement_;
  // The assumed server version speaks the "0.6.8" dialect of team messages.
  const bool original_dialect_;
};

#endif
