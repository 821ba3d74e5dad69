#include "Referee.h"

#include <algorithm>
#include <cmath>

#include "FieldGeometry.h"

namespace {

constexpr double kEps = 1e-6;
constexpr double kBeamNoiseXY = 0.05;     // metres
constexpr double kBeamNoiseTurn = 5.0;    // degrees
constexpr double kCentreClearance = 2.5;  // where a beam into the centre circle ends up

const char* const kModes[] = {
    "BeforeKickOff",    "KickOff_Left",      "KickOff_Right",   "PlayOn",
    "KickIn_Left",      "KickIn_Right",      "corner_kick_left", "corner_kick_right",
    "goal_kick_left",   "goal_kick_right",   "offside_left",    "offside_right",
    "GameOver",         "Goal_Left",         "Goal_Right",      "free_kick_left",
    "free_kick_right",
};

char Other(char side) { return side == 'L' ? 'R' : 'L'; }

std::string KickOffMode(char side) { return side == 'R' ? "KickOff_Right" : "KickOff_Left"; }

}  // namespace

Referee::Referee(double kickoff_after, double duration, double playon_after)
    : kickoff_after_(kickoff_after), duration_(duration), playon_after_(playon_after) {}

bool Referee::KnownPlayMode(const std::string& mode) {
  for (const char* m : kModes) {
    if (mode == m) return true;
  }
  return false;
}

void Referee::Enter(const std::string& mode, double now) {
  if (mode == "KickOff_Left" || mode == "KickOff_Right") {
    const char side = mode == "KickOff_Left" ? 'L' : 'R';
    // The first kick-off of the first half decides who starts the second.
    if (half_ == 1 && mode_ == "BeforeKickOff" && game_time_ == 0.0) first_half_kickoff_ = side;
    kickoff_side_ = side;
  }
  mode_ = mode;
  mode_since_ = now;
}

void Referee::Step(double now, double dt) {
  if (finished_) return;
  if (duration_ >= 0.0 && now >= duration_ - kEps) {
    finished_ = true;
    Enter("GameOver", now);
    return;
  }
  // Half time comes when the first half has been played, so a long wait
  // never swallows the first half.
  const double half_length = PlayingTime() / 2.0;
  if (duration_ > 0.0 && half_ == 1 && half_length > 0.0 && game_time_ >= half_length - kEps) {
    half_ = 2;
    kickoff_side_ = Other(first_half_kickoff_);
    Enter("BeforeKickOff", now);
    ball_reset_ = true;
  }

  const double in_mode = now - mode_since_;
  if (mode_ == "BeforeKickOff") {
    if (kickoff_after_ >= 0.0 && in_mode >= kickoff_after_ - kEps) Enter(KickOffMode(kickoff_side_), now);
  } else if (mode_ == "Goal_Left" || mode_ == "Goal_Right") {
    if (in_mode >= kGoalPause - kEps) {
      Enter(KickOffMode(kickoff_side_), now);
      ball_reset_ = true;
    }
  } else if (mode_ != "PlayOn" && mode_ != "GameOver") {
    // A kick-off or another set piece: play goes on after a while anyway.
    if (in_mode >= playon_after_ - kEps) Enter("PlayOn", now);
  }

  if (mode_ != "BeforeKickOff" && mode_ != "GameOver") game_time_ += dt;
}

double Referee::PlayingTime() const {
  // Both halves get the same playing time: the match time less the wait
  // before each kick-off.
  if (duration_ < 0.0) return -1.0;
  return duration_ - 2.0 * std::max(kickoff_after_, 0.0);
}

void Referee::BallTouched(double now) {
  if (finished_) return;
  if (mode_ == "PlayOn" || mode_ == "BeforeKickOff" || mode_ == "GameOver" || mode_ == "Goal_Left" ||
      mode_ == "Goal_Right")
    return;
  Enter("PlayOn", now);
}

void Referee::GoalScored(char scorer, double now) {
  if (finished_ || !GoalsCount()) return;
  if (scorer == 'L') {
    ++score_left_;
    Enter("Goal_Left", now);
  } else {
    ++score_right_;
    Enter("Goal_Right", now);
  }
  kickoff_side_ = Other(scorer);  // the team that conceded kicks off
}

bool Referee::SetPlayMode(const std::string& mode, double now) {
  if (!KnownPlayMode(mode)) return false;
  if (mode == "Goal_Left") kickoff_side_ = 'R';
  if (mode == "Goal_Right") kickoff_side_ = 'L';
  Enter(mode, now);
  return true;
}

void Referee::KickOff(char side, double now) { Enter(KickOffMode(side), now); }

bool Referee::GoalsCount() const {
  return mode_ != "BeforeKickOff" && mode_ != "Goal_Left" && mode_ != "Goal_Right" && mode_ != "GameOver";
}

bool Referee::BallInPlay() const { return GoalsCount(); }

bool Referee::BeamAllowed() const {
  return mode_ == "BeforeKickOff" || mode_ == "Goal_Left" || mode_ == "Goal_Right";
}

bool Referee::Beam(char side, const Eigen::Vector3d& asked, std::mt19937* noise, Eigen::Vector3d* placed) const {
  using namespace FieldGeometry;
  if (!BeamAllowed()) return false;
  double x = asked.x(), y = asked.y(), rot = asked.z();
  if (noise) {
    std::uniform_real_distribution<double> xy(-kBeamNoiseXY, kBeamNoiseXY);
    std::uniform_real_distribution<double> turn(-kBeamNoiseTurn, kBeamNoiseTurn);
    x += xy(*noise);
    y += xy(*noise);
    rot += turn(*noise);
  }
  // Own half only, inside the field.
  x = std::clamp(x, -kHalfLength, 0.0);
  y = std::clamp(y, -kHalfWidth, kHalfWidth);
  if (mode_ == "BeforeKickOff" && side != kickoff_side_) {
    const double d = std::hypot(x, y);
    if (d < kCentreCircleRadius) {
      const Eigen::Vector2d dir = d > 1e-6 ? Eigen::Vector2d(x / d, y / d) : Eigen::Vector2d(-1.0, 0.0);
      x = dir.x() * kCentreClearance;
      y = dir.y() * kCentreClearance;
      if (x > 0.0) x = 0.0;
    }
  }
  if (side == 'R') {
    x = -x;
    y = -y;
    rot += 180.0;
  }
  *placed = Eigen::Vector3d(x, y, rot);
  return true;
}

bool Referee::TakeBallReset() {
  const bool r = ball_reset_;
  ball_reset_ = false;
  return r;
}
