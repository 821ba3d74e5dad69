#include "tool/ValueManager.h"

#include <functional>
#include <limits>
#include <map>
#include <string>

#include <gtest/gtest.h>

namespace {

using IntHolder = ValueManager<int>;

// One-letter operations on an int holder: I/D fixed step up/down, i/d ring
// step, 1/3/- ring addition of 1, 3 and -3, f fixed addition of 3, e
// elevator step, u next frame.
const std::map<char, std::function<void(IntHolder&)>> kOps = {
    {'I', [](IntHolder& v) { v.IncrementFixed(); }},
    {'D', [](IntHolder& v) { v.DecrementFixed(); }},
    {'i', [](IntHolder& v) { v.IncrementRing(); }},
    {'d', [](IntHolder& v) { v.DecrementRing(); }},
    {'1', [](IntHolder& v) { v.AdditionRing(1); }},
    {'3', [](IntHolder& v) { v.AdditionRing(3); }},
    {'-', [](IntHolder& v) { v.AdditionRing(-3); }},
    {'f', [](IntHolder& v) { v.AdditionFixed(3); }},
    {'e', [](IntHolder& v) { v.RunElevator(); }},
    {'u', [](IntHolder& v) { v.UpdateFlame(); }},
};

// Applies the operations and lists the value after each.
std::string Trace(IntHolder v, const std::string& ops) {
  std::string out;
  for (char op : ops) {
    kOps.at(op)(v);
    out += std::to_string(v.GetValue()) + " ";
  }
  return out;
}

TEST(ValueManagerTest, IntHolderSteps) {
  const struct {
    IntHolder holder;  // min, max, value, interval
    const char* ops;
    const char* values;
  } kCases[] = {
      {{5, 1, 9, 0}, "D", "4 "},  // bounds swapped, value clamped to 5
      {{0, 2, 1, 1}, "IIDDDf", "2 2 1 0 0 2 "},
      {{0, 5, 5, 1}, "id", "0 5 "},
      {{0, 9, 8, 1}, "3-1", "1 8 9 "},  // 11 - 9 - 1; -2 + 9 + 1; the bound itself stays
      {{-3, 3, 0, 1}, "1111111", "1 2 3 -3 -2 -1 0 "},
      {{0, 3, 0, 1}, "eeeeeeeeee", "1 2 3 2 1 0 1 2 3 2 "},
      // Acts before the first frame, then only on every third frame.
      {{0, 100, 0, 3}, "IuuIuIu1uueuuui", "1 1 1 1 1 2 2 2 2 2 3 3 3 3 4 "},
      {{0, 100, 0, 1}, "uiuiui", "0 1 1 2 2 3 "},
  };
  for (const auto& c : kCases) EXPECT_EQ(Trace(c.holder, c.ops), c.values) << c.ops;
  EXPECT_EQ(ValueManager<int>(5, 1, 9, 0).GetInterval(), 1);
}

}  // namespace
