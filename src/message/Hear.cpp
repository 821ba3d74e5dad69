#include "message/Hear.h"

#include <cctype>
#include <cmath>
#include <cstdlib>
#include <string_view>

#include "agent/brain/Brain.h"
#include "tool/FindText.h"

namespace {

const std::string kPrefix = "NEB_";
const double kCoordinateOffset = 25.0;
// Full report after its "D": distance, two positions, behaviour.
const std::size_t kFullReportSymbols = 11;
// Ball report: one position.
const std::size_t kBallReportSymbols = 4;
const double kNoDistance = 9999.9;

bool IsDigit21(char c) {
  return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'k') || (c >= 'A' && c <= 'K');
}

// The symbols [p, p + n) of text, empty beyond its end.
std::string Symbols(std::size_t p, std::size_t n, const std::string& text) {
  if (p >= text.size()) return std::string();
  return text.substr(p, n);
}

// Getting ready, getting up, or code 6: not going for the ball.
bool Resting(int b) { return b == 1 || b == 3 || b == 6; }

}  // namespace

Hear::Hear()
    : hearing(false),
      near_ball_fri(9),
      near_ball_fri2(7),
      ball_dis_min(100.0),
      ball_dis_min2(100.0),
      h_ball_abs_x(0.0),
      h_ball_abs_y(0.0),
      h_near_ball_fri_x(0.0),
      h_near_ball_fri_y(0.0) {
  for (int k = 0; k < kSlots; ++k) {
    ball_dis[k] = 44.0;
    h_abs_x[k] = 0.0;
    h_abs_y[k] = 0.0;
    beh_[k] = 0;
    can_see_[k] = false;
    reported_[k] = false;
  }
}

void Hear::SetNearBallDis(const double* dis) {
  for (int k = 0; k < kSlots; ++k) ball_dis[k] = dis[k];
}

int Hear::C21to10(const std::string& text) {
  return static_cast<int>(std::strtol(text.c_str(), nullptr, 21));
}

int Hear::kensakuID(std::size_t p, std::size_t& next, const std::string& text) {
  next = p + 2;
  return C21to10(Symbols(p + 1, 1, text));
}

int Hear::kensaku(std::size_t p, std::size_t& next, const std::string& text) {
  next = p + 3;
  return C21to10(Symbols(p + 1, 2, text));
}

double Hear::AbsCut(std::size_t p, std::size_t& next, const std::string& text) {
  if (p == std::string::npos) return 0.0;
  return kensaku(p, next, text) / 10.0 - kCoordinateOffset;
}

bool Hear::Digits(std::size_t p, std::size_t count, const std::string& text) {
  if (p > text.size() || text.size() - p < count) return false;
  for (std::size_t i = 0; i < count; ++i) {
    if (!IsDigit21(text[p + i])) return false;
  }
  return true;
}

int Hear::Sender(std::size_t u, const std::string& text) const {
  if (u == std::string::npos || !Digits(u + 1, 1, text)) return 0;
  std::size_t next = 0;
  const int s = kensakuID(u, next, text);
  return s >= 1 && s <= 11 ? s : 0;
}

bool Hear::DecodeFullReport(std::size_t q, int s, const std::string& text) {
  if (s == 0 || q == std::string::npos || !Digits(q + 1, kFullReportSymbols, text)) return false;
  std::size_t next = 0;
  ball_dis[s] = kensaku(q, next, text) / 10.0;
  h_near_ball_fri_x = AbsCut(q + 2, next, text);
  h_near_ball_fri_y = AbsCut(q + 4, next, text);
  h_abs_x[s] = AbsCut(q + 6, next, text);
  h_abs_y[s] = AbsCut(q + 8, next, text);
  const int b = kensakuID(q + 10, next, text);
  can_see_[s] = b >= -9 && b <= 9;
  beh_[s] = b % 10;
  reported_[s] = true;
  return true;
}

bool Hear::DecodeBallReport(std::size_t u, const std::string& text) {
  if (u == std::string::npos || !Digits(u + 1, kBallReportSymbols, text)) return false;
  std::size_t next = 0;
  h_ball_abs_x = AbsCut(u, next, text);
  h_ball_abs_y = AbsCut(u + 2, next, text);
  return true;
}

namespace {

// The whitespace-separated words of text, as a stream reads them: how many
// there are, and the second one.
std::size_t Words(std::string_view text, std::string_view* second) {
  std::size_t count = 0;
  std::size_t i = 0;
  while (true) {
    while (i < text.size() && std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (i == text.size()) return count;
    const std::size_t begin = i;
    while (i < text.size() && !std::isspace(static_cast<unsigned char>(text[i]))) ++i;
    if (++count == 2) *second = text.substr(begin, i - begin);
  }
}

}  // namespace

void Hear::SetHearingMsg(const std::string& message, int, const std::string&) {
  // The first "hear" expression that carries our prefix (and, where it names
  // the sender's team, comes from the own team).
  const std::string_view all = message;
  std::string_view candidate;
  for (std::size_t from = 0;;) {
    const std::size_t h = FindText(all, "hear", from);
    if (h == std::string::npos) break;
    const std::size_t close = all.find(')', h);
    if (close == std::string::npos) break;
    const std::string_view text = all.substr(h, close - h);
    from = close;
    if (FindText(text, kPrefix) == std::string::npos) continue;
    // "hear TEAM TIME DIRECTION TEXT" names the team; "hear TIME DIRECTION
    // TEXT" does not.
    std::string_view second;
    if (!own_team_.empty() && Words(text, &second) == 5 && second != own_team_) continue;
    candidate = text;
    break;
  }
  if (candidate.empty()) {
    hearing = false;
    HearTactics();
    hearing_msg.clear();
    return;
  }

  hearing = true;
  hearing_msg = candidate;
  // The "_" of the prefix (a team name may hold one too).
  const std::size_t u = hearing_msg.find(kPrefix) + kPrefix.size() - 1;
  const int s = Sender(u, hearing_msg);
  const std::size_t q = hearing_msg.find('D', u + 2);
  if (q != std::string::npos) {
    DecodeFullReport(q, s, hearing_msg);
  } else {
    DecodeBallReport(u, hearing_msg);
  }
  HearTactics();
  hearing_msg.clear();
}

bool Hear::JudgeAtackPlayMode() const {
  if (brain_ == nullptr) return false;
  const Brain& br = *brain_;
  return br.JudgeMyCornerKickMode() || br.playmode == PlayMode::kPlayOn || br.JudgeMyGoalKick() ||
         br.JudgeMyKickInMode() || br.JudgeMyKickOffMode();
}

void Hear::HearTactics() {
  ball_dis_min = 0.0;
  ball_dis_min2 = 0.0;
  double m = kNoDistance;
  for (int k = 1; k <= 11; ++k) {
    if (ball_dis[k] > 0.0 && ball_dis[k] < m) m = ball_dis[k];
  }
  if (!JudgeAtackPlayMode()) {
    near_ball_fri = 0;
    near_ball_fri2 = 0;
    return;
  }
  const double bx = h_ball_abs_x;
  const double by = h_ball_abs_y;
  const bool before_their_goal = by < -13.5 && std::fabs(bx) < 2.0;
  for (int k = 1; k <= 11; ++k) {
    const int b = beh_[k];
    const double d = ball_dis[k];
    const double dy = h_abs_y[k] - by;
    const double ratio = m / d;
    double behaviour = Resting(b) ? 0.3 : 1.0;
    double position = by > 10.0 ? 1.0 : (dy >= -0.3 ? 1.0 : 0.5);
    if (before_their_goal) {
      behaviour = Resting(b) ? 0.45 : 1.0;
      position = dy >= -0.3 ? 1.0 : 0.3;
    }
    const double closeness = (d <= 0.35 && d == m) ? (by < 10.0 ? 10.0 : 1.0) : 1.0;
    const double score = position * ratio * behaviour * closeness;
    if (score > ball_dis_min && score > 0.0) {
      ball_dis_min2 = ball_dis_min;
      ball_dis_min = score;
      near_ball_fri = k;
    } else if (score > ball_dis_min2 && score > 0.0) {
      ball_dis_min2 = score;
      near_ball_fri2 = k;
    }
  }
  if (near_ball_fri == 1 && ball_dis[1] >= 2.0) near_ball_fri = near_ball_fri2;
}
