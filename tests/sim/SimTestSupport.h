#ifndef VEKTORLING_TESTS_SIM_SIMTESTSUPPORT_H
#define VEKTORLING_TESTS_SIM_SIMTESTSUPPORT_H

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "World.h"

namespace simtest {

inline WorldConfig Quiet() {
  WorldConfig c;
  c.noise = false;
  return c;
}

// A robot that sent the scene and init commands and got both answers.
inline int Join(World& w, const std::string& team, int unum) {
  const int id = w.CreateRobot();
  w.Perceive(id);
  std::string error;
  EXPECT_TRUE(w.InitRobot(id, team, unum, &error)) << error;
  w.Perceive(id);
  return id;
}

// A text with its 4-byte big-endian length in front.
inline std::string Frame(const std::string& text) {
  const std::uint32_t n = static_cast<std::uint32_t>(text.size());
  return std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)} + text;
}

// The text of the first expression "(key ...)" (balanced), or "".
inline std::string Expression(const std::string& msg, const std::string& key) {
  const size_t b = msg.find("(" + key);
  if (b == std::string::npos) return "";
  int depth = 0;
  for (size_t i = b; i < msg.size(); ++i) {
    if (msg[i] == '(') ++depth;
    else if (msg[i] == ')' && --depth == 0) return msg.substr(b, i - b + 1);
  }
  return "";
}

// The three numbers of "(key (pol d h v))" inside msg.
inline bool Pol(const std::string& msg, const std::string& key, double* d, double* h, double* v) {
  const size_t k = msg.find("(" + key + " (pol ");
  return k != std::string::npos && std::sscanf(msg.c_str() + k + key.size() + 7, "%lf %lf %lf", d, h, v) == 3;
}

}  // namespace simtest

#endif
