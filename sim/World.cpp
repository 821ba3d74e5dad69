#include "World.h"

#include <algorithm>
#include <cctype>
#include <iostream>
#include <random>
#include <string_view>

#include "Expression.h"
#include "FieldGeometry.h"
#include "FieldUnits.h"
#include "Perceptor.h"
#include "PushSchedule.h"
#include "Referee.h"
#include "Roster.h"
#include "SimBall.h"

using namespace FieldGeometry;
using FieldUnits::kStepSeconds;

namespace {

constexpr double kLyingRadius = 0.08;  // a lying body, seen from above

// A trainer's position, kept on or near the field (a few metres around it,
// 20 m up at most) so that no later arithmetic runs away.
Eigen::Vector3d NearTheField(const double* p) {
  constexpr double kMargin = 5.0;
  return Eigen::Vector3d(std::clamp(p[0], -kHalfLength - kMargin, kHalfLength + kMargin),
                         std::clamp(p[1], -kHalfWidth - kMargin, kHalfWidth + kMargin),
                         std::clamp(p[2], 0.0, 20.0));
}

// "Left"/"Right" (any letter case) to 'L'/'R'; 'N' otherwise.
char ParseSide(std::string_view text) {
  std::string s(text);
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  if (s == "left" || s == "l") return 'L';
  if (s == "right" || s == "r") return 'R';
  return 'N';
}

// "backward" knocks a robot onto its back, "forward" onto its front.
bool ParsePushDirection(std::string_view text, bool* onto_back) {
  if (text != "backward" && text != "forward") return false;
  *onto_back = text == "backward";
  return true;
}

}  // namespace

// The step and the trainer's commands; the roster, the referee, the ball and
// the perceptor text do the rest.
class WorldImpl {
public:
  explicit WorldImpl(const WorldConfig& c)
      : config(c),
        referee(c.kickoff_after, c.duration, c.playon_after),
        beam_rng(c.seed * 7919u + 17u),
        pushes(c.seed, c.pushes, referee.PlayingTime()),
        roster(c.seed, c.noise) {}

  void CarryOut(RosterEntry& r) {
    PlayerCommands& c = r.due;
    for (int j = 0; j < RobotBody::kJointNum; ++j) {
      if (c.has_vel[j]) r.body.SetJointVelocity(j, c.vel[j]);
    }
    Eigen::Vector3d placed;
    if (c.beam && r.registered &&
        referee.Beam(r.side, Eigen::Vector3d(c.beam_x, c.beam_y, c.beam_rot), config.noise ? &beam_rng : nullptr,
                     &placed)) {
      r.body.Beam(placed.head<2>(), placed.z());
    }
    if (c.say && r.registered) {
      spoken.push_back(Spoken{r.id, r.team, r.side, r.body.CameraWorld().p, referee.GameTime(), c.say_text});
    }
    c.Clear();
  }

  void BallContacts() {
    const bool in_play = referee.BallInPlay();
    for (RosterEntry* entry : roster.Order()) {
      RosterEntry& r = *entry;
      if (!r.registered) continue;
      bool touched = false;
      if (in_play) {
        const SimRobot& b = r.body;
        if (b.GetState() == SimRobot::State::kUpright) {
          // Near the ground a standing robot is its feet.
          for (int s = 0; s < 2; ++s) {
            touched |= ball.CollideBox(b.SoleWorld(s), SimKinematics::kSoleHalfWidth,
                                       SimKinematics::kSoleHalfLength, SimKinematics::kFootHeight,
                                       b.SoleVelocity(s));
          }
        } else if (b.GetState() != SimRobot::State::kAirborne) {
          const Eigen::Vector2d torso = b.Torso().p.head<2>();
          const Eigen::Vector2d feet = 0.5 * (b.SoleWorld(0).p + b.SoleWorld(1).p).head<2>();
          touched |= ball.PushOutOfCapsule(torso, feet, kLyingRadius, Eigen::Vector2d::Zero());
        }
      }
      if (touched && !r.touching) {
        ++r.ball_touches;
        referee.BallTouched(now);
      }
      r.touching = touched;
    }
  }

  // A push of the schedule that is due while play runs knocks a random
  // upright player onto its back or its front; with none upright it is skipped.
  void RandomPush() {
    const std::string& mode = referee.PlayMode();
    if (mode == "BeforeKickOff" || mode == "GameOver" || !pushes.Due(referee.GameTime())) return;
    std::vector<SimRobot*> upright;
    for (RosterEntry* r : roster.Order()) {
      if (r->registered && r->body.GetState() == SimRobot::State::kUpright) upright.push_back(&r->body);
    }
    if (upright.empty()) return;
    SimRobot* body = upright[pushes.PickRobot(static_cast<int>(upright.size()))];
    body->Push(pushes.PickOntoBack());
  }

  bool Trainer(std::string_view name, std::string_view rest);
  // The scheduled trainer commands that are due.
  void RunScheduled();

  WorldConfig config;
  std::size_t next_scheduled = 0;
  Referee referee;
  std::mt19937 beam_rng;
  PushSchedule pushes;
  SimBall ball;
  Roster roster;
  std::vector<Spoken> spoken;  // said in the last step, heard in the next messages
  double now = 0.0;
  std::string see_buffer;
};

void WorldImpl::RunScheduled() {
  // Half a step of slack: the clock is a sum of 20 ms steps.
  while (next_scheduled < config.scheduled.size() && config.scheduled[next_scheduled].first <= now + kStepSeconds / 2) {
    const std::string& command = config.scheduled[next_scheduled++].second;
    bool understood = true;
    const bool balanced = Expression::ForEachCommand(
        command, [&](std::string_view name, std::string_view rest) { understood &= Trainer(name, rest); });
    if (!balanced || !understood) std::cerr << "scheduled trainer command not understood: " << command << std::endl;
  }
}

bool WorldImpl::Trainer(std::string_view name, std::string_view rest) {
  if (name == "playMode") return referee.SetPlayMode(std::string(rest), now);
  if (name == "kickOff") {
    const char side = ParseSide(rest);
    if (side == 'N') return false;
    referee.KickOff(side, now);
    return true;
  }
  if (name == "killsim") {
    referee.Kill();
    return true;
  }
  if (name == "dropBall") {
    Eigen::Vector3d p = ball.Position();
    p.x() = std::clamp(p.x(), -kHalfLength, kHalfLength);
    p.y() = std::clamp(p.y(), -kHalfWidth, kHalfWidth);
    ball.Place(p);
    referee.SetPlayMode("PlayOn", now);
    return true;
  }
  if (name == "ball") {
    bool has_pos = false, ok = true;
    double pos[3], vel[3] = {0, 0, 0};
    ok &= Expression::ForEachCommand(rest, [&](std::string_view n, std::string_view r) {
      if (n == "pos") has_pos = Expression::ReadNumbers(r, pos, 3);
      else if (n == "vel") ok &= Expression::ReadNumbers(r, vel, 3);
      else ok = false;
    });
    if (!ok || !has_pos) return false;
    ball.Place(NearTheField(pos), Eigen::Vector3d(vel[0], vel[1], vel[2]));
    return true;
  }
  if (name == "agent" || name == "push") {
    char side = 'N';
    int unum = 0;
    bool has_pos = false, has_move = false, ok = true, onto_back = true;
    double pos[3], move[4];
    ok &= Expression::ForEachCommand(rest, [&](std::string_view n, std::string_view r) {
      if (n == "team") side = ParseSide(r);
      else if (n == "unum") ok &= Expression::ReadInt(r, &unum);
      else if (n == "pos") has_pos = Expression::ReadNumbers(r, pos, 3);
      else if (n == "move" && name == "agent") has_move = Expression::ReadNumbers(r, move, 4);
      else if (n == "dir" && name == "push") ok &= ParsePushDirection(r, &onto_back);
      else ok = false;
    });
    if (!ok || side == 'N') return false;
    RosterEntry* r = roster.Player(side, unum);
    if (!r) return false;
    if (name == "push") {
      r->body.Push(onto_back);
      return true;
    }
    // "move" also turns the robot: as on the real server, a yaw of -90
    // degrees faces +x.
    if (has_move) {
      r->body.PlaceUpright(NearTheField(move).head<2>(), move[3] + 90.0);
      return true;
    }
    if (!has_pos) return false;
    r->body.PlaceUpright(NearTheField(pos).head<2>(), r->body.Heading());
    return true;
  }
  return false;
}

World::World(const WorldConfig& config) : impl_(new WorldImpl(config)) {}

World::~World() = default;

int World::CreateRobot(int type) { return impl_->roster.Create(type); }

World::InitResult World::InitRobot(int id, const std::string& team, int unum, std::string* why, int* unum_given) {
  return impl_->roster.Init(id, team, unum, why, unum_given);
}

void World::RemoveRobot(int id) { impl_->roster.Remove(id); }

void World::ApplyCommands(int id, const std::string& text) {
  if (RosterEntry* r = impl_->roster.Find(id)) r->incoming.Read(text);
}

std::string World::Perceive(int id) {
  std::string out;
  Perceive(id, &out);
  return out;
}

void World::Perceive(int id, std::string* message) {
  std::string& out = *message;
  out.clear();
  WorldImpl& w = *impl_;
  RosterEntry* r = w.roster.Find(id);
  if (!r) return;
  out.reserve(r->messages % 3 == 0 ? 4096 : 1536);
  Perceptor::AppendTime(out, w.now);
  const bool with_state = r->registered && r->messages == r->state_message;
  Perceptor::AppendGameState(out, with_state ? r->unum : 0, r->side, w.referee.ScoreLeft(),
                             w.referee.ScoreRight(), w.referee.GameTime(), w.referee.PlayMode());
  Perceptor::AppendHeard(out, *r, w.spoken);
  Perceptor::AppendInertial(out, r->body.Gyro(), r->body.Acc());
  w.see_buffer.clear();
  if (r->messages % 3 == 0) Perceptor::AppendSee(w.see_buffer, *r, w.roster.Order(), w.ball.Position());
  Perceptor::AppendJointsAndVision(out, r->body.JointAngles(), r->body.Foot(SimKinematics::kLeft),
                                   r->body.Foot(SimKinematics::kRight), w.see_buffer);
  ++r->messages;
}

void World::Step() {
  WorldImpl& w = *impl_;
  w.now += kStepSeconds;
  w.spoken.clear();
  w.RunScheduled();
  const std::vector<RosterEntry*>& order = w.roster.Order();
  for (RosterEntry* r : order) w.CarryOut(*r);
  w.RandomPush();
  for (RosterEntry* r : order) r->body.Step(kStepSeconds);
  w.BallContacts();
  switch (w.ball.Step(kStepSeconds, w.referee.GoalsCount())) {
    case SimBall::Event::kIntoRightGoal:
      w.referee.GoalScored('L', w.now);
      break;
    case SimBall::Event::kIntoLeftGoal:
      w.referee.GoalScored('R', w.now);
      break;
    default:
      break;
  }
  w.referee.Step(w.now, kStepSeconds);
  if (w.referee.TakeBallReset()) w.ball.Place(Eigen::Vector3d(0.0, 0.0, kBallRadius));
  for (RosterEntry* r : order) {
    r->due = r->incoming;
    r->incoming.Clear();
  }
}

bool World::TrainerCommand(const std::string& text) {
  bool understood = true;
  int count = 0;
  const bool balanced = Expression::ForEachCommand(text, [&](std::string_view name, std::string_view rest) {
    ++count;
    understood &= impl_->Trainer(name, rest);
  });
  return balanced && count > 0 && understood;
}

bool World::Finished() const { return impl_->referee.Finished(); }

WorldSnapshot World::Snapshot() const {
  const WorldImpl& w = *impl_;
  WorldSnapshot s;
  s.now = w.now;
  s.game_time = w.referee.GameTime();
  s.playmode = w.referee.PlayMode();
  s.score_left = w.referee.ScoreLeft();
  s.score_right = w.referee.ScoreRight();
  s.ball_pos = w.ball.Position();
  s.ball_vel = w.ball.Velocity();
  for (const RosterEntry* entry : w.roster.Order()) {
    const RosterEntry& r = *entry;
    if (!r.registered) continue;
    RobotSnapshot rs;
    rs.team = r.team;
    rs.side = r.side;
    rs.unum = r.unum;
    const Eigen::Vector3d p = r.body.Torso().p;
    rs.x = p.x();
    rs.y = p.y();
    rs.z = p.z();
    rs.heading = r.body.Heading();
    rs.fallen = r.body.Fallen();
    rs.steps = r.body.steps;
    rs.stride = r.body.stride;
    for (int j = 0; j < RobotBody::kJointNum; ++j) rs.joints[j] = r.body.JointAngle(j);
    s.robots.push_back(rs);
  }
  return s;
}

void World::Scene(SceneSnapshot* scene) const {
  const WorldImpl& w = *impl_;
  scene->game_time = w.referee.GameTime();
  scene->half = w.referee.Half();
  scene->score_left = w.referee.ScoreLeft();
  scene->score_right = w.referee.ScoreRight();
  scene->play_mode = w.referee.PlayMode();
  scene->team_left = w.roster.TeamName('L');
  scene->team_right = w.roster.TeamName('R');
  scene->ball = w.ball.Position();
  const std::vector<RosterEntry*>& order = w.roster.Order();
  scene->robots.resize(order.size());
  for (std::size_t k = 0; k < order.size(); ++k) {
    const RosterEntry& r = *order[k];
    SceneRobot& robot = scene->robots[k];
    robot.id = r.id;
    robot.type = r.type;
    robot.side = r.registered ? r.side : 'N';
    robot.unum = r.registered ? r.unum : 0;
    for (int part = 0; part < RobotBody::kPartNum; ++part) {
      const Frame pose = r.body.PartFrameWorld(part);
      robot.parts[part].R = pose.R;
      robot.parts[part].t = pose.p;
    }
  }
  std::sort(scene->robots.begin(), scene->robots.end(),
            [](const SceneRobot& a, const SceneRobot& b) { return a.id < b.id; });
}

std::vector<RobotStats> World::Stats() const { return impl_->roster.Stats(); }
