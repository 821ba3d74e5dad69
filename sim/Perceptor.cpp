#include "Perceptor.h"

#include <cmath>
#include <cstdio>

#include "SimKinematics.h"

void Perceptor::AppendNumber(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "0.00";
    return;
  }
  if (std::fabs(v) >= 1e15) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", v);
    out += buf;
    return;
  }
  // Round the exact binary value to hundredths as printf does: compare with
  // the midpoint between two hundredths exactly (fma rounds only once, so
  // the sign of each difference is exact); exact halves go to the even side.
  const double x = std::fabs(v);
  double k = std::floor(x * 100.0);
  if (std::fma(x, 100.0, -k) < 0.0) k -= 1.0;
  else if (std::fma(x, 100.0, -(k + 1.0)) >= 0.0) k += 1.0;
  const double above_half = std::fma(x, 200.0, -(2.0 * k + 1.0));
  if (above_half > 0.0 || (above_half == 0.0 && std::fmod(k, 2.0) != 0.0)) k += 1.0;
  long long n = static_cast<long long>(k);
  if (std::signbit(v)) out += '-';
  char digits[24];
  int len = 0;
  long long whole = n / 100;
  const int frac = static_cast<int>(n % 100);
  do {
    digits[len++] = static_cast<char>('0' + whole % 10);
    whole /= 10;
  } while (whole > 0);
  while (len > 0) out += digits[--len];
  out += '.';
  out += static_cast<char>('0' + frac / 10);
  out += static_cast<char>('0' + frac % 10);
}

void Perceptor::AppendTime(std::string& out, double now) {
  out += "(time (now ";
  AppendNumber(out, now);
  out += "))";
}

void Perceptor::AppendGameState(std::string& out, int unum, char side, int score_left, int score_right,
                                double game_time, const std::string& play_mode) {
  out += "(GS ";
  if (unum > 0) {
    out += "(unum ";
    out += std::to_string(unum);
    out += side == 'R' ? ") (team right) " : ") (team left) ";
  }
  out += "(sl ";
  out += std::to_string(score_left);
  out += ") (sr ";
  out += std::to_string(score_right);
  out += ") (t ";
  AppendNumber(out, game_time);
  out += ") (pm ";
  out += play_mode;
  out += "))";
}

void Perceptor::AppendHear(std::string& out, const std::string& team, double game_time, bool self,
                           double direction, const std::string& text) {
  out += "(hear ";
  out += team;
  out += ' ';
  AppendNumber(out, game_time);
  out += ' ';
  if (self) out += "self";
  else AppendNumber(out, direction);
  out += ' ';
  out += text;
  out += ')';
}

namespace {

void AppendVector(std::string& out, const Eigen::Vector3d& v) {
  Perceptor::AppendNumber(out, v.x());
  out += ' ';
  Perceptor::AppendNumber(out, v.y());
  out += ' ';
  Perceptor::AppendNumber(out, v.z());
}

void AppendJoint(std::string& out, const double* q, int joint) {
  out += "(HJ (n ";
  out += NaoModel::kJointTable[joint].p_name;
  out += ") (ax ";
  Perceptor::AppendNumber(out, q[joint]);
  out += "))";
}

void AppendFoot(std::string& out, const char* name, const FootContact& f) {
  if (!f.contact) return;
  out += "(FRP (n ";
  out += name;
  out += ") (c ";
  AppendVector(out, f.c);
  out += ") (f ";
  AppendVector(out, f.f);
  out += "))";
}

}  // namespace

void Perceptor::AppendInertial(std::string& out, const Eigen::Vector3d& gyro, const Eigen::Vector3d& acc) {
  out += "(GYR (n torso) (rt ";
  AppendVector(out, gyro);
  out += "))(ACC (n torso) (a ";
  AppendVector(out, acc);
  out += "))";
}

void Perceptor::AppendJointsAndVision(std::string& out, const double* q, const FootContact& left,
                                      const FootContact& right, const std::string& see) {
  AppendJoint(out, q, kHj1);
  AppendJoint(out, q, kHj2);
  out += see;
  for (int j = kRaj1; j <= kRaj4; ++j) AppendJoint(out, q, j);
  for (int j = kLaj1; j <= kLaj4; ++j) AppendJoint(out, q, j);
  for (int j = kRlj1; j <= kRlj5; ++j) AppendJoint(out, q, j);
  AppendFoot(out, "rf", right);
  AppendJoint(out, q, kRlj6);
  for (int j = kLlj1; j <= kLlj5; ++j) AppendJoint(out, q, j);
  AppendFoot(out, "lf", left);
  AppendJoint(out, q, kLlj6);
}
