#ifndef VEKTORLING_TESTS_SIM_SIMTESTSUPPORT_H
#define VEKTORLING_TESTS_SIM_SIMTESTSUPPORT_H

#include <cmath>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "SimRobot.h"

namespace simtest {

// Drives the given joints (degrees) linearly to their targets over n steps.
inline void Move(SimRobot& r, const std::map<int, double>& target, int n) {
  for (int k = 0; k < n; ++k) {
    for (const auto& t : target) {
      const double v = (t.second - r.JointAngle(t.first)) * M_PI / 180.0 / ((n - k) * 0.02);
      r.SetJointVelocity(t.first, v);
    }
    r.Step(0.02);
  }
  for (const auto& t : target) r.SetJointVelocity(t.first, 0.0);
}

// The default crouch of the player: hips 15, knees -60, ankles 45.
inline void Crouch(SimRobot& r, int n = 20) {
  Move(r, {{kLlj3, 15}, {kLlj4, -60}, {kLlj5, 45}, {kRlj3, 15}, {kRlj4, -60}, {kRlj5, 45}}, n);
}

// One step of each leg from the crouch: lift, swing forward while the
// stance leg swings back, put down.
inline void WalkCycle(SimRobot& r, double d = 10.0) {
  Move(r, {{kRlj3, 25}, {kRlj4, -80}, {kRlj5, 55}}, 5);
  Move(r, {{kRlj3, 25 + d}, {kRlj5, 55 - d}, {kLlj3, 15 - d}, {kLlj5, 45 + d}}, 10);
  Move(r, {{kRlj3, 15 + d}, {kRlj4, -60}, {kRlj5, 45 - d}}, 5);
  Move(r, {{kLlj3, 25 - d}, {kLlj4, -80}, {kLlj5, 55 + d}}, 5);
  Move(r, {{kLlj3, 25 + d}, {kLlj5, 55 - d}, {kRlj3, 15 - d}, {kRlj5, 45 + d}}, 10);
  Move(r, {{kLlj3, 15 + d}, {kLlj4, -60}, {kLlj5, 45 - d}}, 5);
  Move(r, {{kRlj3, 25 - d}, {kRlj4, -80}, {kRlj5, 55 + d}}, 5);
  Move(r, {{kRlj3, 15}, {kRlj4, -60}, {kRlj5, 45}, {kLlj3, 15}, {kLlj5, 45}}, 10);
}

// Heads of the top-level expressions of a message; for joints and foot
// sensors the name is added ("HJ hj1", "FRP rf").
inline std::vector<std::string> Heads(const std::string& msg) {
  std::vector<std::string> heads;
  int depth = 0;
  for (size_t i = 0; i < msg.size(); ++i) {
    if (msg[i] == '(') {
      if (depth == 0) {
        size_t e = msg.find_first_of(" ()", i + 1);
        std::string head = msg.substr(i + 1, e - i - 1);
        if (head == "HJ" || head == "FRP") {
          const size_t n = msg.find("(n ", i + 1);
          head += " " + msg.substr(n + 3, msg.find(')', n) - n - 3);
        }
        heads.push_back(head);
      }
      ++depth;
    } else if (msg[i] == ')') {
      --depth;
    }
  }
  return heads;
}

// The text of the first expression "(key ...)" (balanced), or "".
inline std::string Expression(const std::string& msg, const std::string& key, size_t from = 0) {
  const size_t b = msg.find("(" + key, from);
  if (b == std::string::npos) return "";
  int depth = 0;
  for (size_t i = b; i < msg.size(); ++i) {
    if (msg[i] == '(') ++depth;
    else if (msg[i] == ')' && --depth == 0) return msg.substr(b, i - b + 1);
  }
  return "";
}

// The three numbers of "(pol d h v)" after the given key inside msg.
inline bool Pol(const std::string& msg, const std::string& key, double* d, double* h, double* v) {
  const size_t k = msg.find("(" + key + " (pol ");
  if (k == std::string::npos) return false;
  return std::sscanf(msg.c_str() + k + key.size() + 7, "%lf %lf %lf", d, h, v) == 3;
}

inline std::vector<std::string> RecordedLines() {
  std::ifstream in(std::string(VEKTORLING_SOURCE_DIR) + "/tests/data/standing-player.txt");
  std::vector<std::string> lines;
  std::string line;
  while (std::getline(in, line)) lines.push_back(line);
  return lines;
}

}  // namespace simtest

#endif
