#include "World.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <random>
#include <set>
#include <string_view>
#include <tuple>

#include "DecimalParser.h"
#include "FieldGeometry.h"
#include "Perceptor.h"
#include "PushSchedule.h"
#include "Referee.h"
#include "RobotTypeRules.h"
#include "SimBall.h"
#include "SimRobot.h"
#include "TextAppender.h"
#include "Vision.h"

using namespace FieldGeometry;

namespace {

constexpr int kMaxTeamSize = 11;
constexpr int kMaxSayLength = 20;
constexpr double kBeamNoiseXY = 0.05;     // metres
constexpr double kBeamNoiseTurn = 5.0;    // degrees
constexpr double kCentreClearance = 2.5;  // where a beam into the centre circle ends up
constexpr double kLyingRadius = 0.08;     // a lying body, seen from above
constexpr double kDeg = M_PI / 180.0;

// Top-level expressions "(name rest)" of a command text: calls f(name,
// rest) with rest the text after the name up to the closing parenthesis.
// Returns false when the parentheses do not balance.
template <typename F>
bool ForEachExpression(std::string_view text, F f) {
  size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '(') {
      if (text[i] == ')') return false;
      ++i;
      continue;
    }
    int depth = 0;
    size_t j = i;
    for (; j < text.size(); ++j) {
      if (text[j] == '(') ++depth;
      else if (text[j] == ')' && --depth == 0) break;
    }
    if (j >= text.size()) return false;
    std::string_view inner = text.substr(i + 1, j - i - 1);
    size_t k = 0;
    while (k < inner.size() && inner[k] == ' ') ++k;
    size_t e = k;
    while (e < inner.size() && inner[e] != ' ' && inner[e] != '(' && inner[e] != ')') ++e;
    std::string_view rest = inner.substr(e);
    while (!rest.empty() && rest.front() == ' ') rest.remove_prefix(1);
    while (!rest.empty() && rest.back() == ' ') rest.remove_suffix(1);
    f(inner.substr(k, e - k), rest);
    i = j + 1;
  }
  return true;
}

// A trainer's position, kept on or near the field (a few metres around it,
// 20 m up at most) so that no later arithmetic runs away.
Eigen::Vector3d NearTheField(const double* p) {
  constexpr double kMargin = 5.0;
  return Eigen::Vector3d(std::clamp(p[0], -kHalfLength - kMargin, kHalfLength + kMargin),
                         std::clamp(p[1], -kHalfWidth - kMargin, kHalfWidth + kMargin),
                         std::clamp(p[2], 0.0, 20.0));
}

// Up to n numbers separated by blanks; false if fewer than n or not numbers
// (what strtod does not read whole, longer than 63 characters, or not finite).
bool ParseNumbers(std::string_view text, double* out, int n) {
  constexpr size_t kLongestNumber = 63;
  size_t i = 0;
  for (int k = 0; k < n; ++k) {
    while (i < text.size() && text[i] == ' ') ++i;
    size_t e = i;
    while (e < text.size() && text[e] != ' ') ++e;
    if (e == i || e - i > kLongestNumber) return false;
    if (!DecimalParser::Parse(text.data() + i, e - i, &out[k])) return false;
    i = e;
  }
  while (i < text.size() && text[i] == ' ') ++i;
  return i == text.size();
}

bool ParseInt(std::string_view text, int* out) {
  double v;
  if (!ParseNumbers(text, &v, 1) || v != std::floor(v) || std::fabs(v) > 1e6) return false;
  *out = static_cast<int>(v);
  return true;
}

bool ValidSayText(std::string_view text) {
  if (text.empty() || text.size() > kMaxSayLength) return false;
  for (char c : text) {
    if (c <= ' ' || c > '~' || c == '(' || c == ')') return false;
  }
  return true;
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

// The effector names of the joint table, in its order.
const std::array<std::string_view, NaoModel::kJointNum>& EffectorNames() {
  static const std::array<std::string_view, NaoModel::kJointNum> names = [] {
    std::array<std::string_view, NaoModel::kJointNum> n;
    for (int j = 0; j < NaoModel::kJointNum; ++j) n[j] = NaoModel::kJointTable[j].e_name;
    return n;
  }();
  return names;
}

// Index of an effector name, or -1. Players usually name the joints in table
// order, so the joint after the previous one (*next) is tried first.
int EffectorIndex(std::string_view name, int* next) {
  const auto& names = EffectorNames();
  int j = *next < NaoModel::kJointNum ? *next : 0;
  if (name != names[j]) {
    for (j = 0; j < NaoModel::kJointNum && name != names[j]; ++j) {
    }
    if (j == NaoModel::kJointNum) return -1;
  }
  *next = j + 1;
  return j;
}

// Commands of one answer, waiting for their step.
struct Commands {
  bool has_vel[NaoModel::kJointNum] = {};
  double vel[NaoModel::kJointNum] = {};
  bool beam = false;
  double beam_x = 0, beam_y = 0, beam_rot = 0;
  bool say = false;
  std::string say_text;

  void Clear() {
    std::fill(std::begin(has_vel), std::end(has_vel), false);
    beam = false;
    say = false;
    say_text.clear();
  }
};

}  // namespace

struct SimRobotEntry {
  int id = 0;
  int type = 0;  // robot type of the scene, 0 to 4
  SimRobot body;
  bool registered = false;  // a player of a team
  bool outside = false;     // refused by the robot type rules: on the field, in no team
  std::string team;
  char side = 'N';
  int unum = 0;
  int messages = 0;         // messages sent to it so far
  int state_message = -1;   // the message that carries number and side
  Commands incoming;        // answered since the last step
  Commands due;             // carried out at the start of the next step
  Vision vision{0, false};  // its own noise, drawn in the order of its own messages
  int ball_touches = 0;
  bool touching = false;
};

struct Spoken {
  int speaker;
  std::string team;
  char side;
  Eigen::Vector3d at;
  double game_time;
  std::string text;
};

class WorldImpl {
public:
  explicit WorldImpl(const WorldConfig& c)
      : config(c),
        referee(c.kickoff_after, c.duration, c.playon_after),
        beam_rng(c.seed * 7919u + 17u),
        pushes(c.seed, c.pushes, referee.PlayingTime()) {}

  SimRobotEntry* Find(int id) {
    auto it = robots.find(id);
    return it == robots.end() ? nullptr : it->second.get();
  }

  int SideCount(char side) const {
    int n = 0;
    for (const auto& r : robots) {
      if (r.second->registered && r.second->side == side) ++n;
    }
    return n;
  }

  // Held by a player of that side, or kept for a robot its types refused.
  bool NumberTaken(char side, int unum) const {
    if (kept_numbers[SideIndex(side)].count(unum)) return true;
    for (const auto& r : robots) {
      if (r.second->registered && r.second->side == side && r.second->unum == unum) return true;
    }
    return false;
  }

  RobotTypeRules::Counts TypeCounts(char side) const {
    RobotTypeRules::Counts counts{};
    for (const auto& r : robots) {
      if (r.second->registered && r.second->side == side) ++counts[r.second->type];
    }
    return counts;
  }

  static int SideIndex(char side) { return side == 'L' ? 0 : 1; }

  // The noise of a robot's vision: one stream per player, picked by the seed,
  // its side and number, so that what a player sees does not depend on the
  // order in which the players connected or are served. Before the init
  // command every robot draws from the same stream.
  Vision VisionOf(char side, int unum, bool outside) const {
    std::seed_seq seq{config.seed, static_cast<unsigned>(side), static_cast<unsigned>(unum),
                      static_cast<unsigned>(outside)};
    unsigned stream = 0;
    seq.generate(&stream, &stream + 1);
    return Vision(stream, config.noise);
  }

  // Players by side and number, then the robots in no team by id: every
  // step goes through the robots in this order, so a match does not depend
  // on the order in which its players connected.
  void Reorder() {
    order.clear();
    for (auto& entry : robots) order.push_back(entry.second.get());
    std::sort(order.begin(), order.end(), [](const SimRobotEntry* a, const SimRobotEntry* b) {
      return std::make_tuple(!a->registered, a->side, a->unum, a->id) <
             std::make_tuple(!b->registered, b->side, b->unum, b->id);
    });
  }

  static Eigen::Vector2d InitialPosition(char side, int unum) {
    // Lined up along the touch line of the own half, as the real server does.
    const Eigen::Vector2d own(-kHalfLength + 0.85 * unum, 9.2);
    return side == 'R' ? Eigen::Vector2d(-own) : own;
  }

  void Archive(const SimRobotEntry& r) {
    if (!r.registered) return;
    archived.push_back(StatsOf(r));
  }

  static RobotStats StatsOf(const SimRobotEntry& r) {
    RobotStats s;
    s.team = r.team;
    s.side = r.side;
    s.unum = r.unum;
    s.distance_walked = r.body.distance_walked;
    s.steps = r.body.steps;
    s.stride = r.body.stride;
    s.falls = r.body.falls;
    s.standups = r.body.standups;
    s.ball_touches = r.ball_touches;
    return s;
  }

  void ApplyBeam(SimRobotEntry& r, double x, double y, double rot) {
    if (!r.registered || !referee.BeamAllowed()) return;
    if (config.noise) {
      std::uniform_real_distribution<double> xy(-kBeamNoiseXY, kBeamNoiseXY);
      std::uniform_real_distribution<double> turn(-kBeamNoiseTurn, kBeamNoiseTurn);
      x += xy(beam_rng);
      y += xy(beam_rng);
      rot += turn(beam_rng);
    }
    // Own half only, inside the field.
    x = std::clamp(x, -kHalfLength, 0.0);
    y = std::clamp(y, -kHalfWidth, kHalfWidth);
    if (referee.PlayMode() == "BeforeKickOff" && r.side != referee.KickOffSide()) {
      const double d = std::hypot(x, y);
      if (d < kCentreCircleRadius) {
        const Eigen::Vector2d dir = d > 1e-6 ? Eigen::Vector2d(x / d, y / d) : Eigen::Vector2d(-1.0, 0.0);
        x = dir.x() * kCentreClearance;
        y = dir.y() * kCentreClearance;
        if (x > 0.0) x = 0.0;
      }
    }
    if (r.side == 'R') {
      x = -x;
      y = -y;
      rot += 180.0;
    }
    r.body.Beam(Eigen::Vector2d(x, y), rot);
  }

  void CarryOut(SimRobotEntry& r) {
    Commands& c = r.due;
    for (int j = 0; j < NaoModel::kJointNum; ++j) {
      if (c.has_vel[j]) r.body.SetJointVelocity(j, c.vel[j]);
    }
    if (c.beam) ApplyBeam(r, c.beam_x, c.beam_y, c.beam_rot);
    if (c.say && r.registered) {
      spoken.push_back(Spoken{r.id, r.team, r.side, r.body.CameraWorld().p, referee.GameTime(), c.say_text});
    }
    c.Clear();
  }

  void BallContacts() {
    const bool in_play = referee.BallInPlay();
    for (SimRobotEntry* entry : order) {
      SimRobotEntry& r = *entry;
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

  void AppendVision(SimRobotEntry& r, std::string& text) {
    const Frame cam = r.body.CameraWorld();
    TextAppender see(&text);
    see.Append("(See");
    auto item = [&](const char* name, const Eigen::Vector3d& p) {
      Polar pol;
      if (!Vision::Sight(cam, p, &pol)) return;
      see.Append(" (");
      see.Append(name, std::strlen(name));
      see.Append(' ');
      Vision::AppendPolar(see, r.vision.Measure(pol));
      see.Append(')');
    };
    for (int i = 0; i < kLandmarkNum; ++i) item(kLandmarks[i].name, LandmarkPosition(i));
    item("B", ball.Position());

    // Players: the robot's own lower arms, then every player's parts in view.
    // A robot outside the teams is no player: it sees the others, not itself.
    static const int kHead = SimKinematics::PartIndex("head");
    for (const SimRobotEntry* entry : order) {
      const SimRobotEntry& o = *entry;
      if (!o.registered) continue;
      const bool self = o.id == r.id;
      struct Part {
        const char* name;
        Eigen::Vector3d at;
        bool own;  // seen on oneself too
      };
      const Part parts[5] = {
          {"head", o.body.PartWorld(kHead), false},
          {"rlowerarm", o.body.LowerArmWorld(SimKinematics::kRight), true},
          {"llowerarm", o.body.LowerArmWorld(SimKinematics::kLeft), true},
          {"rfoot", o.body.SoleWorld(SimKinematics::kRight).p, false},
          {"lfoot", o.body.SoleWorld(SimKinematics::kLeft).p, false},
      };
      // " (P (team T) (id N)" only once a part of the player is in view.
      bool any = false;
      for (const Part& p : parts) {
        if (self && !p.own) continue;
        Polar pol;
        if (!Vision::Sight(cam, p.at, &pol)) continue;
        if (!any) {
          see.Append(" (P (team ");
          see.Append(o.team);
          see.Append(") (id ");
          char* room = see.Room(16);
          see.Commit(static_cast<std::size_t>(std::to_chars(room, room + 16, o.unum).ptr - room));
          see.Append(')');
          any = true;
        }
        see.Append(" (");
        see.Append(p.name, std::strlen(p.name));
        see.Append(' ');
        Vision::AppendPolar(see, r.vision.Measure(pol));
        see.Append(')');
      }
      if (any) see.Append(')');
    }
    see.Append(')');
  }

  void AppendHearing(SimRobotEntry& r, std::string& out) {
    if (!r.registered) return;
    bool own_slot = false, other_slot = false;
    for (const Spoken& s : spoken) {
      if (s.speaker != r.id) continue;
      Perceptor::AppendHear(out, s.team, s.game_time, true, 0.0, s.text);
      own_slot = true;
    }
    const Frame cam = r.body.CameraWorld();
    for (const Spoken& s : spoken) {
      if (s.speaker == r.id) continue;
      bool& slot = s.side == r.side ? own_slot : other_slot;
      if (slot) continue;  // one message per team and step
      slot = true;
      const Polar pol = Vision::ToPolar(cam, s.at);
      Perceptor::AppendHear(out, s.team, s.game_time, false, pol.h, s.text);
    }
  }

  // A push of the schedule that is due while play runs knocks a random
  // upright player onto its back or its front; with none upright it is skipped.
  void RandomPush() {
    const std::string& mode = referee.PlayMode();
    if (mode == "BeforeKickOff" || mode == "GameOver" || !pushes.Due(referee.GameTime())) return;
    std::vector<SimRobot*> upright;
    for (SimRobotEntry* entry : order) {
      SimRobotEntry& r = *entry;
      if (r.registered && r.body.GetState() == SimRobot::State::kUpright) upright.push_back(&r.body);
    }
    if (upright.empty()) return;
    SimRobot* body = upright[pushes.PickRobot(static_cast<int>(upright.size()))];
    body->Push(pushes.PickOntoBack());
  }

  bool Trainer(std::string_view name, std::string_view rest);

  WorldConfig config;
  Referee referee;
  std::mt19937 beam_rng;
  PushSchedule pushes;
  SimBall ball;
  std::map<int, std::unique_ptr<SimRobotEntry>> robots;
  std::vector<SimRobotEntry*> order;  // the robots as Reorder() sorts them
  std::vector<RobotStats> archived;
  std::vector<Spoken> spoken;  // said in the last step, heard in the next messages
  std::string team_name[2];    // left, right
  std::set<int> kept_numbers[2];  // per side: numbers of robots the type rules refused
  RobotTypeRules type_rules;
  int next_id = 1;
  double now = 0.0;
  long steps = 0;
  std::string see_buffer;
};

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
    ok &= ForEachExpression(rest, [&](std::string_view n, std::string_view r) {
      if (n == "pos") has_pos = ParseNumbers(r, pos, 3);
      else if (n == "vel") ok &= ParseNumbers(r, vel, 3);
      else ok = false;
    });
    if (!ok || !has_pos) return false;
    ball.Place(NearTheField(pos), Eigen::Vector3d(vel[0], vel[1], vel[2]));
    return true;
  }
  if (name == "agent" || name == "push") {
    char side = 'N';
    int unum = 0;
    bool has_pos = false, ok = true, onto_back = true;
    double pos[3];
    ok &= ForEachExpression(rest, [&](std::string_view n, std::string_view r) {
      if (n == "team") side = ParseSide(r);
      else if (n == "unum") ok &= ParseInt(r, &unum);
      else if (n == "pos") has_pos = ParseNumbers(r, pos, 3);
      else if (n == "dir" && name == "push") ok &= ParsePushDirection(r, &onto_back);
      else ok = false;
    });
    if (!ok || side == 'N') return false;
    for (auto& entry : robots) {
      SimRobotEntry& r = *entry.second;
      if (!r.registered || r.side != side || r.unum != unum) continue;
      if (name == "push") {
        r.body.Push(onto_back);
        return true;
      }
      if (!has_pos) return false;
      r.body.PlaceUpright(NearTheField(pos).head<2>(), r.body.Heading());
      return true;
    }
    return false;
  }
  return false;
}

World::World(const WorldConfig& config) : impl_(new WorldImpl(config)) {}

World::~World() = default;

int World::CreateRobot(int type) {
  auto entry = std::make_unique<SimRobotEntry>();
  entry->id = impl_->next_id++;
  entry->type = std::clamp(type, 0, RobotTypeRules::kTypes - 1);
  // Hangs above the centre line until it registers.
  entry->body.Drop(Eigen::Vector2d(0.0, -1.05), 90.0);
  entry->vision = Vision(impl_->config.seed, impl_->config.noise);
  const int id = entry->id;
  impl_->robots[id] = std::move(entry);
  impl_->Reorder();
  return id;
}

World::InitResult World::InitRobot(int id, const std::string& team, int unum, std::string* why, int* unum_given) {
  auto fail = [&](const std::string& reason, bool remove) {
    if (why) *why = reason;
    if (remove) RemoveRobot(id);
    return InitResult::kRejected;
  };
  SimRobotEntry* r = impl_->Find(id);
  if (!r) return fail("no robot with id " + std::to_string(id), false);
  if (r->registered || r->outside) {
    return fail("robot " + std::to_string(id) + " has had its init command", false);
  }
  if (team.empty()) return fail("empty team name", true);
  char side = 'N';
  if (team == impl_->team_name[0]) side = 'L';
  else if (team == impl_->team_name[1]) side = 'R';
  else if (impl_->team_name[0].empty()) side = 'L';
  else if (impl_->team_name[1].empty()) side = 'R';
  else {
    return fail("team " + team + " rejected: " + impl_->team_name[0] + " and " + impl_->team_name[1] +
                    " already play",
                true);
  }
  if (unum < 0 || unum > kMaxTeamSize) {
    return fail("uniform number " + std::to_string(unum) + " of team " + team + " is not between 1 and 11",
                true);
  }
  if (impl_->SideCount(side) >= kMaxTeamSize) return fail("team " + team + " already has 11 players", true);
  if (unum == 0) {
    for (int n = 1; n <= kMaxTeamSize && unum == 0; ++n) {
      if (!impl_->NumberTaken(side, n)) unum = n;
    }
    if (unum == 0) return fail("team " + team + " has no uniform number left", true);
  } else if (impl_->NumberTaken(side, unum)) {
    return fail("uniform number " + std::to_string(unum) + " of team " + team + " is already taken", true);
  }
  impl_->team_name[WorldImpl::SideIndex(side)] = team;
  if (unum_given) *unum_given = unum;
  const std::string refusal = impl_->type_rules.Refusal(impl_->TypeCounts(side), r->type);
  if (!refusal.empty()) {
    // As on the real server: the body stays where it hangs, outside the
    // teams, and nobody of its side gets its number any more.
    impl_->kept_numbers[WorldImpl::SideIndex(side)].insert(unum);
    r->outside = true;
    r->vision = impl_->VisionOf(side, unum, true);
    if (why) *why = refusal;
    return InitResult::kOutsideTeam;
  }
  r->registered = true;
  r->team = team;
  r->side = side;
  r->unum = unum;
  r->state_message = r->messages + 1;  // the second message after the init
  r->vision = impl_->VisionOf(side, unum, false);
  impl_->Reorder();
  const Eigen::Vector2d at = WorldImpl::InitialPosition(side, unum);
  r->body.Drop(at, side == 'L' ? 0.0 : 180.0);
  return InitResult::kPlaced;
}

void World::RemoveRobot(int id) {
  auto it = impl_->robots.find(id);
  if (it == impl_->robots.end()) return;
  impl_->Archive(*it->second);
  impl_->robots.erase(it);
  impl_->Reorder();
}

void World::ApplyCommands(int id, const std::string& text) {
  SimRobotEntry* r = impl_->Find(id);
  if (!r) return;
  Commands& c = r->incoming;
  int next_joint = 0;
  ForEachExpression(text, [&](std::string_view name, std::string_view rest) {
    const int j = EffectorIndex(name, &next_joint);
    if (j >= 0) {
      double v;
      if (ParseNumbers(rest, &v, 1)) {
        c.has_vel[j] = true;
        c.vel[j] = v;
      }
      return;
    }
    if (name == "beam") {
      double b[3];
      if (ParseNumbers(rest, b, 3)) {
        c.beam = true;
        c.beam_x = b[0];
        c.beam_y = b[1];
        c.beam_rot = b[2];
      }
    } else if (name == "say") {
      if (ValidSayText(rest)) {
        c.say = true;
        c.say_text.assign(rest.data(), rest.size());
      }
    }
    // "(syn)" and anything else: nothing to do here.
  });
}

std::string World::Perceive(int id) {
  std::string out;
  Perceive(id, &out);
  return out;
}

void World::Perceive(int id, std::string* message) {
  std::string& out = *message;
  out.clear();
  SimRobotEntry* r = impl_->Find(id);
  if (!r) return;
  WorldImpl& w = *impl_;
  out.reserve(r->messages % 3 == 0 ? 4096 : 1536);
  Perceptor::AppendTime(out, w.now);
  const bool with_state = r->registered && r->messages == r->state_message;
  Perceptor::AppendGameState(out, with_state ? r->unum : 0, r->side, w.referee.ScoreLeft(),
                             w.referee.ScoreRight(), w.referee.GameTime(), w.referee.PlayMode());
  w.AppendHearing(*r, out);
  Perceptor::AppendInertial(out, r->body.Gyro(), r->body.Acc());
  w.see_buffer.clear();
  if (r->messages % 3 == 0) w.AppendVision(*r, w.see_buffer);
  Perceptor::AppendJointsAndVision(out, r->body.JointAngles(), r->body.Foot(SimKinematics::kLeft),
                                   r->body.Foot(SimKinematics::kRight), w.see_buffer);
  ++r->messages;
}

void World::Step() {
  WorldImpl& w = *impl_;
  w.now += kStep;
  ++w.steps;
  w.spoken.clear();
  for (SimRobotEntry* r : w.order) w.CarryOut(*r);
  w.RandomPush();
  for (SimRobotEntry* r : w.order) r->body.Step(kStep);
  w.BallContacts();
  switch (w.ball.Step(kStep, w.referee.GoalsCount())) {
    case SimBall::Event::kIntoRightGoal:
      w.referee.GoalScored('L', w.now);
      break;
    case SimBall::Event::kIntoLeftGoal:
      w.referee.GoalScored('R', w.now);
      break;
    default:
      break;
  }
  w.referee.Step(w.now, kStep);
  if (w.referee.TakeBallReset()) w.ball.Place(Eigen::Vector3d(0.0, 0.0, kBallRadius));
  for (auto& entry : w.robots) {
    SimRobotEntry& r = *entry.second;
    r.due = r.incoming;
    r.incoming.Clear();
  }
}

bool World::TrainerCommand(const std::string& text) {
  bool understood = true;
  int count = 0;
  const bool balanced = ForEachExpression(text, [&](std::string_view name, std::string_view rest) {
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
  for (const SimRobotEntry* entry : w.order) {
    const SimRobotEntry& r = *entry;
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
    for (int j = 0; j < NaoModel::kJointNum; ++j) rs.joints[j] = r.body.JointAngle(j);
    s.robots.push_back(rs);
  }
  return s;
}

std::vector<RobotStats> World::Stats() const {
  std::vector<RobotStats> all = impl_->archived;
  for (const SimRobotEntry* r : impl_->order) {
    if (r->registered) all.push_back(WorldImpl::StatsOf(*r));
  }
  return all;
}
