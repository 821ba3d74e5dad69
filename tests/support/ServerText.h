#ifndef VEKTORLING_TESTS_SUPPORT_SERVERTEXT_H
#define VEKTORLING_TESTS_SUPPORT_SERVERTEXT_H

#include <map>
#include <string>

#include "agent/CommonInformation.h"
#include "ServerStreams.h"
#include "agent/Agent.h"

// Builds perceptor messages in the real server's order and number format.
struct ServerText {
  double now = 10.0;
  double game_time = 0.0;
  std::string playmode = "BeforeKickOff";
  std::string side;  // "left", "right" or empty: the side token comes only once
  int unum = 0;
  double gyro[3] = {0, 0, 0};
  double acc[3] = {0, 0, 9.81};
  std::map<std::string, double> joints;  // unset joints read 0
  bool left_foot = true;
  bool right_foot = true;
  double foot_force = 16.49;
  std::string see;  // contents of (See ...), empty for no vision

  static std::string Num(double v) {
    std::string s;
    streams::AppendNum(s, v);
    return s;
  }

  // The postures a player holds standing ready to walk, and for the kick-off.
  static std::map<std::string, double> Posture(bool kick_off) {
    const double hip = kick_off ? 25 : 15, knee = kick_off ? -50 : -60, ankle = kick_off ? 25 : 45;
    return {{"laj1", -100}, {"laj2", 20},  {"laj3", -90}, {"raj1", -100}, {"raj2", -20},  {"raj3", 90},
            {"llj3", hip},  {"llj4", knee}, {"llj5", ankle}, {"rlj3", hip}, {"rlj4", knee}, {"rlj5", ankle}};
  }

  std::string Text() const {
    std::string s = "(time (now " + Num(now) + "))(GS ";
    if (unum > 0) s += "(unum " + std::to_string(unum) + ") ";
    if (!side.empty()) s += "(team " + side + ") ";
    streams::Appendf(s, "(sl 0) (sr 0) (t %.2f) (pm %s))", game_time, playmode.c_str());
    streams::Appendf(s, "(GYR (n torso) (rt %.2f %.2f %.2f))", gyro[0], gyro[1], gyro[2]);
    streams::Appendf(s, "(ACC (n torso) (a %.2f %.2f %.2f))", acc[0], acc[1], acc[2]);
    for (const char* j : streams::FullVisionMatch::kJoints) {
      auto it = joints.find(j);
      streams::Appendf(s, "(HJ (n %s) (ax %.2f))", j, it == joints.end() ? 0.0 : it->second);
      if (std::string(j) == "hj2" && !see.empty()) s += "(See " + see + ")";
      if ((std::string(j) == "rlj5" && right_foot) || (std::string(j) == "llj5" && left_foot)) {
        const bool right = j[0] == 'r';
        streams::Appendf(s, "(FRP (n %s) (c -0.00 -0.01 -0.01) (f %s 0.11 %.2f))", right ? "rf" : "lf",
                         right ? "0.00" : "-0.00", foot_force);
      }
    }
    return s;
  }
};

// How often `what` occurs in `text`.
inline int CountOf(const std::string& text, const std::string& what) {
  int n = 0;
  for (size_t p = text.find(what); p != std::string::npos; p = text.find(what, p + 1)) ++n;
  return n;
}

// An agent whose body readings are open to the tests.
class TestAgent : public Agent {
public:
  TestAgent(int num, const std::string& team = "Alpha", bool syn = false)
      : Agent(num, team, syn) {}
  BodyState& Body() { return body_; }
};

#endif
