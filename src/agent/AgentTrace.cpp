// The player's own trace: one JSON line per cycle of what it believes.
#include <cmath>
#include <cstdio>
#include <ostream>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "agent/standup/StandingUp.h"
#include "message/Hear.h"
#include "coordinate/AbsoluteCoordinate.h"
#include "object/Ball.h"

const char* Agent::BehaviorName(Behavior b) {
  static const char* const kNames[] = {"WAIT", "READY", "WALK", "STANDUP", "KICK",
                                       "Q_KICK", "KICKOFF", "JUMP", "DANCE"};
  const int i = static_cast<int>(b);
  return (i >= 0 && i < 9) ? kNames[i] : "?";
}

namespace {

const char* StandUpStageName(StandingUp::Stage s) {
  static const char* const kNames[] = {"READY", "UP1",   "UP2",    "UP3",   "UP4",   "DOWN1",
                                       "DOWN2", "DOWN3", "DOWN4",  "CHECK", "CHECK2", "ROLL1",
                                       "ROLL2", "ROLL3", "ROLL4",  "MOVE"};
  const int i = static_cast<int>(s);
  return (i >= 0 && i < 16) ? kNames[i] : "?";
}

// Text from the server or the team goes into the trace as a JSON string.
void String(std::ostream& out, const std::string& s) {
  out << '"';
  for (unsigned char c : s) {
    if (c == '"' || c == '\\') {
      out << '\\' << c;
    } else if (c < 0x20 || c >= 0x7f) {
      char buf[8];
      std::snprintf(buf, sizeof buf, "\\u%04x", c);
      out << buf;
    } else {
      out << c;
    }
  }
  out << '"';
}

void Number(std::ostream& out, double v) {
  if (!std::isfinite(v)) {
    out << "null";
    return;
  }
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.4f", v);
  out << buf;
}

template <class Vec>
void Array(std::ostream& out, const Vec& v) {
  out << '[';
  for (int i = 0; i < v.size(); ++i) {
    if (i > 0) out << ',';
    Number(out, v(i));
  }
  out << ']';
}

}  // namespace

void Agent::WriteTrace(std::ostream& out, const std::string& said) const {
  const CommonInformation& ci = ci_;
  out << "{\"t\":";
  Number(out, ci.br_.game_time);
  out << ",\"pm\":";
  String(out, ci.br_.playmode_text);
  out << ",\"side\":\"" << SideLetter(ci.br_.territory) << "\",\"beh\":\"" << BehaviorName(beh)
      << '"';
  if (beh == STANDUP) out << ",\"standup\":\"" << StandUpStageName(stand_up_.Progress().stage) << '"';
  out << ",\"speed\":";
  Number(out, walk_.CurrentSpeed());
  out << ",\"pos\":";
  Array(out, ci.abs_->cod_);
  out << ",\"vel\":";
  Array(out, ci.abs_->abspeed_);
  out << ",\"ball\":";
  Array(out, ci.ball_abs_->cod_);
  out << ",\"ball_seen\":" << (ci.ball_->visible ? "true" : "false");
  out << ",\"ball_speed\":";
  Number(out, ci.ball_abs_->speed_);
  out << ",\"rot\":";
  Array(out, ci.total_);
  out << ",\"zmp\":";
  Array(out, body_.zmp);
  out << ",\"feet\":\"" << body_.touching_leg << "\",\"elected\":" << hear->GetNearBallFri();
  out << ",\"say\":";
  String(out, said);
  out << "}\n";
  out.flush();
}
