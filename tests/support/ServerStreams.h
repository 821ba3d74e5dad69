#ifndef VEKTORLING_TESTS_SUPPORT_SERVERSTREAMS_H
#define VEKTORLING_TESTS_SUPPORT_SERVERSTREAMS_H

// Deterministic streams of perceptor messages for replays and the cycle
// benchmark: the recorded real session, a generated full-vision match
// (every landmark, the ball, 22 players with all five parts, field lines and
// team messages, every play mode in turn) and a mutator for hostile input.

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace streams {

// The messages the real server sent to one standing robot (team "Alpha",
// number 1, left side), one per line; the first answers the scene command.
inline std::vector<std::string> Recorded() {
  std::ifstream in(VEKTORLING_SOURCE_DIR "/tests/data/standing-player.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// A vision message the server sent to robot 1 of team "Alpha" standing on
// the left half (line 7 of the recorded session).
inline const std::string& RecordedVisionMessage() {
  static const std::string message = Recorded().at(6);
  return message;
}

// The recorded session as if play had started: every message in "PlayOn".
inline std::vector<std::string> RecordedPlayOn() {
  std::vector<std::string> lines = Recorded();
  for (std::string& line : lines) {
    for (const char* mode : {"(pm BeforeKickOff)", "(pm KickOff_Left)"}) {
      const size_t p = line.find(mode);
      if (p != std::string::npos) line.replace(p, std::string(mode).size(), "(pm PlayOn)");
    }
  }
  return lines;
}

// Appends printf's text of the values.
template <typename... T>
inline void Appendf(std::string& s, const char* format, T... values) {
  char buf[128];
  std::snprintf(buf, sizeof buf, format, values...);
  s += buf;
}

inline void AppendNum(std::string& s, double v) { Appendf(s, "%.2f", v); }

inline void AppendPol(std::string& s, double d, double h, double v) { Appendf(s, "(pol %.2f %.2f %.2f)", d, h, v); }

// The play modes in the order the generated match visits them.
inline const std::vector<std::string>& PlayModes() {
  static const std::vector<std::string> modes = {
      "BeforeKickOff",    "KickOff_Left",      "PlayOn",          "KickIn_Left",   "PlayOn",
      "KickIn_Right",     "corner_kick_left",  "corner_kick_right", "goal_kick_left", "goal_kick_right",
      "PlayOn",           "Goal_Left",         "KickOff_Right",   "PlayOn",        "Goal_Right",
      "KickOff_Left",     "PlayOn",            "FreeKick_Left",   "PlayOn"};
  return modes;
}

// A generated match seen by player `unum` of team `own` on `side` ("left"
// or "right"), with `opponent` as the other team. Vision comes in every
// third message (in every one with `all_vision`); landmark, ball and player
// values move a little from message to message. The joint angles follow
// the player's own commands (Follow), so that it can reach its postures,
// walk, fall and get up; now and then a jolt of the accelerometer reads as
// a fall.
struct FullVisionMatch {
  int unum = 9;
  std::string own = "Alpha";
  std::string opponent = "Beta";
  std::string side = "left";
  bool all_vision = false;
  int cycles_per_mode = 40;  // messages per play mode of PlayModes()
  double ball_distance = 0;  // 0: the ball wanders between 0.5 and 2.5 m
  bool jolts = true;         // a jolt every 250 messages
  double joints[22] = {};    // degrees, in the order of kJoints

  static constexpr const char* kJoints[22] = {"hj1",  "hj2",  "raj1", "raj2", "raj3", "raj4", "laj1", "laj2",
                                              "laj3", "laj4", "rlj1", "rlj2", "rlj3", "rlj4", "rlj5", "rlj6",
                                              "llj1", "llj2", "llj3", "llj4", "llj5", "llj6"};

  // Puts the joints in the posture a standing player holds before it walks.
  void Stand() {
    const double posture[22] = {0, 0, -100, -20, 90, 0, -100, 20, -90, 0, 0, 0,
                                15, -60, 45, 0, 0, 0, 15, -60, 45, 0};
    for (int j = 0; j < 22; ++j) joints[j] = posture[j];
  }

  // Moves every joint by the speed (radians per second) the answer commands
  // for one 20 ms step.
  void Follow(const std::string& answer) {
    for (int j = 0; j < 22; ++j) {
      std::string key = std::string("(") + kJoints[j] + ' ';
      key[key.find('j')] = 'e';  // the joint's effector: hj1 - he1, raj1 - rae1
      const size_t p = answer.find(key);
      if (p == std::string::npos) continue;
      const double v = std::atof(answer.c_str() + p + key.size());
      if (std::isfinite(v) && std::fabs(v) < 1000) joints[j] += v * 0.02 * 57.29577951308232;
    }
  }

  std::string Message(int n) const {
    const bool vision = all_vision || n % 3 == 0;
    const double t = 0.02 * n;
    const std::string& pm = PlayModes()[(n / cycles_per_mode) % PlayModes().size()];
    const double w = 0.3 * n;  // phase of the made-up motion
    std::string s;
    s.reserve(6400);
    Appendf(s, "(time (now %.2f))(GS ", 0.5 + t);
    if (n < 3) s += "(unum " + std::to_string(unum) + ") (team " + side + ") ";
    Appendf(s, "(sl %d) (sr %d) (t %.2f) (pm %s))", n / 400, n / 700, t, pm.c_str());
    if (n % 5 == 1) Appendf(s, "(hear %s %.2f self NEB_%daB)", own.c_str(), t, n % 97);
    if (n % 7 == 2) {
      Appendf(s, "(hear %s %.2f -37.5 NEB_c%d2Xk)", own.c_str(), t, n % 13);
      Appendf(s, "(hear %s %.2f 12.25 zz%d)", opponent.c_str(), t, n % 31);
    }
    Appendf(s, "(GYR (n torso) (rt %.2f %.2f %.2f))", 3 * std::sin(w), -2 * std::cos(w), 0.5 * std::sin(2 * w));
    Appendf(s, "(ACC (n torso) (a %.2f %.2f %.2f))", jolts && n % 250 == 249 ? 45.0 : 0.4 * std::sin(w),
            0.3 * std::cos(w), 9.81 + 0.2 * std::sin(3 * w));
    for (int j = 0; j < 22; ++j) {
      Appendf(s, "(HJ (n %s) (ax %.2f))", kJoints[j], joints[j]);
      if (j == 1 && vision) AppendSee(s, n, w);
      if (j == 14 && (n % 50) < 45) Appendf(s, "(FRP (n rf) (c -0.00 -0.01 -0.01) (f 0.00 0.11 %.2f))", 16 + 5 * std::sin(w));
      if (j == 20 && (n % 50) > 3) Appendf(s, "(FRP (n lf) (c 0.01 0.02 -0.01) (f -0.00 0.11 %.2f))", 16 - 5 * std::sin(w));
    }
    return s;
  }

  void AppendSee(std::string& s, int n, double w) const {
    s += "(See ";
    static const char* const kFlags[] = {"F1L", "F2L", "F1R", "F2R", "G1L", "G2L", "G1R", "G2R"};
    for (int f = 0; f < 8; ++f) {
      Appendf(s, "(%s ", kFlags[f]);
      AppendPol(s, 5 + 2.5 * f + 0.1 * std::sin(w), 15 * f - 55 + std::cos(w), -4 - 0.2 * f);
      s += ") ";
    }
    s += "(B ";
    if (ball_distance > 0) {
      AppendPol(s, ball_distance, 2 * std::sin(0.1 * n), -50);
    } else {
      AppendPol(s, 1.5 + std::sin(0.1 * n), 10 * std::cos(0.05 * n), -20);
    }
    s += ") ";
    static const char* const kParts[] = {"head", "rlowerarm", "llowerarm", "rfoot", "lfoot"};
    for (int team = 0; team < 2; ++team) {
      for (int id = 1; id <= 11; ++id) {
        Appendf(s, "(P (team %s) (id %d)", (team == 0 ? own : opponent).c_str(), id);
        for (int p = 0; p < 5; ++p) {
          Appendf(s, " (%s ", kParts[p]);
          AppendPol(s, 1 + 0.7 * id + 0.05 * p, 8 * id - 48 + team * 3 + std::sin(w + p), 2.5 - p);
          s += ')';
        }
        s += ") ";
      }
    }
    for (int l = 0; l < 12; ++l) {
      Appendf(s, "(L (pol %.2f %.2f -10.00) (pol %.2f %.2f -9.00))%s", 3.0 + l, 10.0 * l - 60, 4.0 + l, 10.0 * l - 50,
              l < 11 ? " " : "");
    }
    s += ')';
  }
};

// Edits a broken or hostile peer could make to a message: cuts, dropped and
// repeated pieces, flipped characters, any byte, absurd numbers.
inline std::string Mutate(std::string s, std::mt19937& rng) {
  auto pick = [&](size_t n) { return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
  static const char kAlphabet[] = "()0123456789.-e (pol(HJ(n(ax(See(GS(t(pm(FRP (n lf(hear self";
  const int edits = 1 + static_cast<int>(pick(6));
  for (int e = 0; e < edits && !s.empty(); ++e) {
    const size_t at = pick(s.size());
    switch (pick(7)) {
      case 0: s.erase(at); break;
      case 1: s.erase(at, pick(40) + 1); break;
      case 2: {  // picks in sequence: argument order differs between compilers
        const size_t from = pick(s.size());
        s.insert(at, s.substr(from, pick(60)));
        break;
      }
      case 3: s[at] = kAlphabet[pick(sizeof kAlphabet - 1)]; break;
      case 4: s.insert(at, std::string(pick(200), s[at])); break;
      case 5: s[at] = static_cast<char>(pick(256)); break;
      case 6: s.insert(at, "1e308"); break;
    }
  }
  return s;
}

}  // namespace streams

#endif
