#include "PlayerCommands.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <string_view>

#include "Expression.h"

namespace {

constexpr std::size_t kMaxSayLength = 20;

// Printable ASCII without blanks and parentheses, 1 to 20 characters.
bool ValidSayText(std::string_view text) {
  if (text.empty() || text.size() > kMaxSayLength) return false;
  for (char c : text) {
    if (c <= ' ' || c > '~' || c == '(' || c == ')') return false;
  }
  return true;
}

// Index of an effector name, or -1. Players usually name the joints in table
// order, so the joint after the previous one (*next) is tried first.
int EffectorIndex(std::string_view name, int* next) {
  using RobotBody::kJointNum;
  // The names with their lengths, measured once.
  static const std::array<std::string_view, kJointNum> names = [] {
    std::array<std::string_view, kJointNum> n;
    for (int j = 0; j < kJointNum; ++j) n[j] = RobotBody::kJoints[j].effector;
    return n;
  }();
  int j = *next < kJointNum ? *next : 0;
  if (name != names[j]) {
    for (j = 0; j < kJointNum && name != names[j]; ++j) {
    }
    if (j == kJointNum) return -1;
  }
  *next = j + 1;
  return j;
}

}  // namespace

void PlayerCommands::Read(const std::string& text) {
  int next_joint = 0;
  Expression::ForEachCommand(text, [&](std::string_view name, std::string_view rest) {
    const int j = EffectorIndex(name, &next_joint);
    if (j >= 0) {
      double v;
      if (Expression::ReadNumbers(rest, &v, 1)) {
        has_vel[j] = true;
        vel[j] = v;
      }
      return;
    }
    if (name == "beam") {
      double b[3];
      if (Expression::ReadNumbers(rest, b, 3)) {
        beam = true;
        beam_x = b[0];
        beam_y = b[1];
        beam_rot = b[2];
      }
    } else if (name == "say") {
      if (ValidSayText(rest)) {
        say = true;
        say_text.assign(rest.data(), rest.size());
      }
    }
  });
}

void PlayerCommands::Clear() {
  std::fill(std::begin(has_vel), std::end(has_vel), false);
  beam = false;
  say = false;
  say_text.clear();
}
