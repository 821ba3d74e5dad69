#ifndef VEKTORLING_TESTS_SIM_SIMTESTSUPPORT_H
#define VEKTORLING_TESTS_SIM_SIMTESTSUPPORT_H

#include <cstdio>
#include <string>

#include <gtest/gtest.h>

#include "World.h"

namespace simtest {

inline WorldConfig Quiet() {
  WorldConfig c;
  c.noise = false;
  return c;
}

// The robot type of each number in the team the start script runs, a mix
// the field's type rules accept: numbers 1-5 and 9 type 0, 6-7 type 1,
// 8 type 2, 10 type 3, 11 type 4.
inline int MixType(int unum) {
  static const int kTypes[12] = {0, 0, 0, 0, 0, 0, 1, 1, 2, 0, 3, 4};
  return unum >= 0 && unum < 12 ? kTypes[unum] : 0;
}

// A robot that sent the scene and init commands and got both answers.
inline int Join(World& w, const std::string& team, int unum, int type = -1) {
  const int id = w.CreateRobot(type < 0 ? MixType(unum) : type);
  w.Perceive(id);
  std::string error;
  EXPECT_EQ(World::InitResult::kPlaced, w.InitRobot(id, team, unum, &error)) << team << unum << " " << error;
  w.Perceive(id);
  return id;
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

// The n numbers behind "(key " in msg, read with the format (e.g. "(pol %lf
// %lf %lf)" for "B"); false when the key or a number is missing.
template <typename... T>
bool Numbers(const std::string& msg, const std::string& key, const char* format, T*... out) {
  const size_t k = msg.find("(" + key + " ");
  return k != std::string::npos &&
         std::sscanf(msg.c_str() + k + key.size() + 2, format, out...) == static_cast<int>(sizeof...(T));
}

}  // namespace simtest

#endif
