#ifndef VEKTORLING_AGENT_AGENT_H
#define VEKTORLING_AGENT_AGENT_H

#include <memory>
#include <ostream>
#include <string>

#include <Eigen/Dense>

#include "action/Tactics.h"
#include "agent/CommonInformation.h"
#include "agent/MotionParams.h"
#include "agent/ProcessState.h"
#include "agent/TeamPlacement.h"
#include "agent/head/HeadEngine.h"
#include "agent/kick/KickEngine.h"
#include "agent/kick/KickOffEngine.h"
#include "agent/posture/PostureEngine.h"
#include "agent/standup/StandUpEngine.h"
#include "agent/walking/WalkEngine.h"
#include "beam/Beam.h"
#include "message/Hearing.h"
#include "message/Message.h"
#include "nao_model/Body.h"
#include "nao_model/JointRequest.h"
#include "nao_model/NaoModel.h"

class Say;
class Hear;
class Action;
namespace draw {
struct Beliefs;
}

// The robot's mind: one call of Run is one sense-think-act cycle, from the
// server's message to the answer. Each step writes its own data (the body's
// readings and kinematics, the blackboard's world and game state, the joint
// request) and later steps read it; the motions live in their engines.
class Agent {
public:
  static const char* const kDefaultServerVersion;

  enum Behavior { WAIT = 0, READY = 1, WALK = 2, STANDUP = 3, KICK = 4, Q_KICK = 5,
                  KICKOFF = 6, JUMP = 7, DANCE = 8 };

  // server_version: the version the server is assumed to run; "0.6.8"
  // speaks the compact dialect of team messages. tactics: what the legs do
  // in open play. params: the engines' parameters and the behaviour around
  // them.
  Agent(int num, std::string team, bool syn_mode,
        const std::string& server_version = kDefaultServerVersion,
        Tactics tactics = Tactics::kDefault, const MotionParams& params = MotionParams());
  ~Agent();
  Agent(const Agent&) = delete;
  Agent& operator=(const Agent&) = delete;

  // One cycle: parse, body, game, world, decide, engines, answer. The
  // answer lives in the agent and stays valid until the next cycle; its
  // buffer is reused, so that a cycle takes nothing from the heap.
  const std::string& Run(const std::string& message);

  // Steps of the cycle, in their order.
  void ParseMainMessage(const std::string& message);
  // Warns once on standard error when the server has not placed the player
  // in a team within the first second.
  void JudgeTeamPlacement();
  // Forward kinematics and balance from the readings.
  void UpdateBody();
  // While the play mode forbids moving: no forward walking; the kick-off
  // taker goes to its kick-off.
  void JudgePlayMode();
  // Before the kick-off, the side from the goal posts in view; afterwards
  // the landmarks seen from the left side's end, the directions, relative
  // positions and field estimates of what is seen.
  void UpdateWorld();
  void JudgeSideFromGoalPosts();
  void UpdateObjects();
  void UpdateCoordinate();
  // Game state, team messages, tactics (none before the kick-off). The
  // message to teammates, valid until the next call.
  const std::string& Think();
  // Beam command when due.
  void SelectBeam(Side side);
  void AnswerBeam();
  // Behaviour selection; the chosen engines write the joint request.
  void SelectBehavior();

  // The scene and init commands sent before the first cycle.
  std::string SelectUsingType(unsigned type) const { return NaoModel::SelectUsingType(type); }
  std::string GetMainMessage() const { return main_msg.GetMessage(); }
  int GetID() const { return ID_; }
  const std::string& GetTeamName() const { return team_; }

  // Writes one JSON line per cycle to out (null: none).
  void SetTrace(std::ostream* out) { trace_ = out; }
  void WriteTrace(std::ostream& out, const std::string& said) const;
  // The trace's name of a behaviour ("WALK", ...).
  static const char* BehaviorName(Behavior b);

  // Whether the message of the last cycle carried vision.
  bool SawThisCycle() const { return main_msg.vision_.see; }
  // What the player believes after the last cycle, in the server's field
  // frame, for drawing; its texts stay valid until the next cycle.
  draw::Beliefs GatherBeliefs() const;

  // Read access for callers and tests.
  Behavior GetBehavior() const { return beh; }
  void SetBehavior(Behavior b) { beh = b; }
  const BodyState& GetBody() const { return body_; }
  // The joint request being built; empty between cycles.
  const JointRequest& GetRequest() const { return request_; }
  const Beam& GetBeam() const { return bp; }
  double GetWalkTime() const { return walk_time_; }
  const WalkEngine& GetWalk() const { return walk_; }
  const KickEngine& GetKick() const { return kick_; }
  const KickOffEngine& GetKickOff() const { return kickoff_; }
  const StandUpEngine& GetStandUp() const { return stand_up_; }
  const HeadEngine& GetHead() const { return head_; }
  // The agent's blackboard.
  CommonInformation& GetBlackboard() { return ci_; }
  const CommonInformation& GetBlackboard() const { return ci_; }

protected:
  // Open to tests and benchmarks that set readings directly.
  BodyState body_;
  Message main_msg;

private:
  // A fall starts the stand-up (not for the kick-off taker at its kick-off).
  bool JudgeFallingDown() const;
  // The fall check of the behaviour handlers: true when the robot falls.
  bool FallCheck();
  // The heading that landmark pairs in view show replaces the believed one.
  void ReVision();
  // Whether the estimates take this cycle's sightings.
  bool SightingsCount();

  const bool syn_mode_;
  const int ID_;
  const std::string team_;

  // Everything the agent keeps across messages lives in its members: the
  // parser, the body step's integrators, the blackboard, the counters and
  // the engines. A new Agent starts afresh.
  Hearing hear_[2];
  Body body_step_;
  CommonInformation ci_;
  ProcessState ps_;
  JointRequest request_;
  Beam bp;

  WalkEngine walk_;
  KickEngine kick_;
  KickOffEngine kickoff_;
  StandUpEngine stand_up_;
  HeadEngine head_;
  PostureEngine posture_;
  const BehaviorParams behavior_;
  // Game time of the last cycle the robot lay or got up (see BehaviorParams).
  double unsettled_time_;

  Say* say;
  Hear* hear;
  Action* act_;
  double walk_time_;
  Behavior beh;
  std::ostream* trace_ = nullptr;
  std::string answer_;  // the answer of the current cycle
  std::string said_;    // the say command of the current cycle
  TeamPlacement placement_;
  // The assumed server version speaks the "0.6.8" dialect of team messages.
  const bool original_dialect_;
};

#endif
