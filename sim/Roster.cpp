#include "Roster.h"

#include <algorithm>
#include <random>
#include <tuple>

#include "FieldGeometry.h"

namespace {

constexpr int kMaxTeamSize = 11;

// Lined up along the touch line of the own half, as the real server does.
Eigen::Vector2d InitialPosition(char side, int unum) {
  const Eigen::Vector2d own(-FieldGeometry::kHalfLength + 0.85 * unum, 9.2);
  return side == 'R' ? Eigen::Vector2d(-own) : own;
}

RobotStats StatsOf(const RosterEntry& r) {
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

}  // namespace

Roster::Roster(unsigned seed, bool noise) : seed_(seed), noise_(noise) {}

int Roster::Create(int type) {
  auto entry = std::make_unique<RosterEntry>();
  entry->id = next_id_++;
  entry->type = std::clamp(type, 0, RobotTypeRules::kTypes - 1);
  // Hangs above the centre line until it registers.
  entry->body.Drop(Eigen::Vector2d(0.0, -1.05), 90.0);
  entry->vision = Vision(seed_, noise_);
  const int id = entry->id;
  robots_[id] = std::move(entry);
  Reorder();
  return id;
}

World::InitResult Roster::Init(int id, const std::string& team, int unum, std::string* why, int* unum_given) {
  using InitResult = World::InitResult;
  auto fail = [&](const std::string& reason, bool remove) {
    if (why) *why = reason;
    if (remove) Remove(id);
    return InitResult::kRejected;
  };
  RosterEntry* r = Find(id);
  if (!r) return fail("no robot with id " + std::to_string(id), false);
  if (r->registered || r->outside) {
    return fail("robot " + std::to_string(id) + " has had its init command", false);
  }
  if (team.empty()) return fail("empty team name", true);
  char side = 'N';
  if (team == team_name_[0]) side = 'L';
  else if (team == team_name_[1]) side = 'R';
  else if (team_name_[0].empty()) side = 'L';
  else if (team_name_[1].empty()) side = 'R';
  else {
    return fail("team " + team + " rejected: " + team_name_[0] + " and " + team_name_[1] + " already play", true);
  }
  if (unum < 0 || unum > kMaxTeamSize) {
    return fail("uniform number " + std::to_string(unum) + " of team " + team + " is not between 1 and 11",
                true);
  }
  if (SideCount(side) >= kMaxTeamSize) return fail("team " + team + " already has 11 players", true);
  if (unum == 0) {
    for (int n = 1; n <= kMaxTeamSize && unum == 0; ++n) {
      if (!NumberTaken(side, n)) unum = n;
    }
    if (unum == 0) return fail("team " + team + " has no uniform number left", true);
  } else if (NumberTaken(side, unum)) {
    return fail("uniform number " + std::to_string(unum) + " of team " + team + " is already taken", true);
  }
  team_name_[SideIndex(side)] = team;
  if (unum_given) *unum_given = unum;
  const std::string refusal = type_rules_.Refusal(TypeCounts(side), r->type);
  if (!refusal.empty()) {
    // As on the real server: the body stays where it hangs, outside the
    // teams, and nobody of its side gets its number any more.
    kept_numbers_[SideIndex(side)].insert(unum);
    r->outside = true;
    r->vision = VisionOf(side, unum, true);
    if (why) *why = refusal;
    return InitResult::kOutsideTeam;
  }
  r->registered = true;
  r->team = team;
  r->side = side;
  r->unum = unum;
  r->state_message = r->messages + 1;  // the second message after the init
  r->vision = VisionOf(side, unum, false);
  Reorder();
  r->body.Drop(InitialPosition(side, unum), side == 'L' ? 0.0 : 180.0);
  return InitResult::kPlaced;
}

void Roster::Remove(int id) {
  auto it = robots_.find(id);
  if (it == robots_.end()) return;
  if (it->second->registered) archived_.push_back(StatsOf(*it->second));
  robots_.erase(it);
  Reorder();
}

RosterEntry* Roster::Find(int id) {
  auto it = robots_.find(id);
  return it == robots_.end() ? nullptr : it->second.get();
}

RosterEntry* Roster::Player(char side, int unum) {
  for (RosterEntry* r : order_) {
    if (r->registered && r->side == side && r->unum == unum) return r;
  }
  return nullptr;
}

std::vector<RobotStats> Roster::Stats() const {
  std::vector<RobotStats> all = archived_;
  for (const RosterEntry* r : order_) {
    if (r->registered) all.push_back(StatsOf(*r));
  }
  return all;
}

int Roster::SideCount(char side) const {
  int n = 0;
  for (const RosterEntry* r : order_) {
    if (r->registered && r->side == side) ++n;
  }
  return n;
}

// Held by a player of that side, or kept for a robot its types refused.
bool Roster::NumberTaken(char side, int unum) const {
  if (kept_numbers_[SideIndex(side)].count(unum)) return true;
  for (const RosterEntry* r : order_) {
    if (r->registered && r->side == side && r->unum == unum) return true;
  }
  return false;
}

RobotTypeRules::Counts Roster::TypeCounts(char side) const {
  RobotTypeRules::Counts counts{};
  for (const RosterEntry* r : order_) {
    if (r->registered && r->side == side) ++counts[r->type];
  }
  return counts;
}

// The noise of a robot's vision: one stream per player, picked by the seed,
// its side and number, so that what a player sees does not depend on the
// order in which the players connected or are served. Before the init
// command every robot draws from the same stream.
Vision Roster::VisionOf(char side, int unum, bool outside) const {
  std::seed_seq seq{seed_, static_cast<unsigned>(side), static_cast<unsigned>(unum), static_cast<unsigned>(outside)};
  unsigned stream = 0;
  seq.generate(&stream, &stream + 1);
  return Vision(stream, noise_);
}

void Roster::Reorder() {
  order_.clear();
  for (auto& entry : robots_) order_.push_back(entry.second.get());
  std::sort(order_.begin(), order_.end(), [](const RosterEntry* a, const RosterEntry* b) {
    return std::make_tuple(!a->registered, a->side, a->unum, a->id) <
           std::make_tuple(!b->registered, b->side, b->unum, b->id);
  });
}
