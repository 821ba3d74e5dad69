#include "Perceptor.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "FieldGeometry.h"
#include "FixedDecimal.h"
#include "SimKinematics.h"

namespace {

// "%.2f" for what FixedDecimal leaves out: magnitudes of 2^31 and more
// (through printf itself: such numbers are rare and exact rounding of their
// halves needs more than double arithmetic), and values that are not finite
// (written as 0.00: a message has no "nan").
void AppendLargeNumber(std::string& out, double v) {
  if (!std::isfinite(v)) {
    out += "0.00";
    return;
  }
  char buf[320];  // up to 309 digits before the point
  std::snprintf(buf, sizeof buf, "%.2f", v);
  out += buf;
}

}  // namespace

void Perceptor::AppendNumber(std::string& out, double v) {
  char text[FixedDecimal::kMaxLength];
  const std::size_t length = FixedDecimal::Write<2>(v, text);
  if (length > 0) {
    out.append(text, length);
  } else {
    AppendLargeNumber(out, v);
  }
}

void Perceptor::AppendNumber(TextAppender& out, double v) {
  const std::size_t length = FixedDecimal::Write<2>(v, out.Room(FixedDecimal::kMaxLength));
  if (length > 0) {
    out.Commit(length);
    return;
  }
  std::string large;
  AppendLargeNumber(large, v);
  out.Append(large);
}

void Perceptor::AppendTime(std::string& message, double now) {
  TextAppender out(&message);
  out.Append("(time (now ");
  AppendNumber(out, now);
  out.Append("))");
}

namespace {

void AppendInt(TextAppender& out, int value) {
  char* room = out.Room(16);
  out.Commit(static_cast<std::size_t>(std::to_chars(room, room + 16, value).ptr - room));
}

}  // namespace

void Perceptor::AppendGameState(std::string& message, int unum, char side, int score_left, int score_right,
                                double game_time, const std::string& play_mode) {
  TextAppender out(&message);
  out.Append("(GS ");
  if (unum > 0) {
    out.Append("(unum ");
    AppendInt(out, unum);
    if (side == 'R') {
      out.Append(") (team right) ");
    } else {
      out.Append(") (team left) ");
    }
  }
  out.Append("(sl ");
  AppendInt(out, score_left);
  out.Append(") (sr ");
  AppendInt(out, score_right);
  out.Append(") (t ");
  AppendNumber(out, game_time);
  out.Append(") (pm ");
  out.Append(play_mode);
  out.Append("))");
}

void Perceptor::AppendHear(std::string& message, const std::string& team, double game_time, bool self,
                           double direction, const std::string& text) {
  TextAppender out(&message);
  out.Append("(hear ");
  out.Append(team);
  out.Append(' ');
  AppendNumber(out, game_time);
  out.Append(' ');
  if (self) {
    out.Append("self");
  } else {
    AppendNumber(out, direction);
  }
  out.Append(' ');
  out.Append(text);
  out.Append(')');
}

namespace {

void AppendVector(TextAppender& out, const Eigen::Vector3d& v) {
  Perceptor::AppendNumber(out, v.x());
  out.Append(' ');
  Perceptor::AppendNumber(out, v.y());
  out.Append(' ');
  Perceptor::AppendNumber(out, v.z());
}

// "(HJ (n hj1) (ax " and so on, in joint table order.
const std::array<std::string, RobotBody::kJointNum>& JointHeads() {
  static const std::array<std::string, RobotBody::kJointNum> heads = [] {
    std::array<std::string, RobotBody::kJointNum> h;
    for (int j = 0; j < RobotBody::kJointNum; ++j) {
      h[j] = std::string("(HJ (n ") + RobotBody::kJoints[j].perceptor + ") (ax ";
    }
    return h;
  }();
  return heads;
}

void AppendJoint(TextAppender& out, const double* q, int joint) {
  out.Append(JointHeads()[joint]);
  Perceptor::AppendNumber(out, q[joint]);
  out.Append("))");
}

void AppendFoot(TextAppender& out, const char* name, const FootContact& f) {
  if (!f.contact) return;
  out.Append("(FRP (n ");
  out.Append(name, std::strlen(name));
  out.Append(") (c ");
  AppendVector(out, f.c);
  out.Append(") (f ");
  AppendVector(out, f.f);
  out.Append("))");
}

}  // namespace

void Perceptor::AppendInertial(std::string& message, const Eigen::Vector3d& gyro, const Eigen::Vector3d& acc) {
  TextAppender out(&message);
  out.Append("(GYR (n torso) (rt ");
  AppendVector(out, gyro);
  out.Append("))(ACC (n torso) (a ");
  AppendVector(out, acc);
  out.Append("))");
}

void Perceptor::AppendJointsAndVision(std::string& message, const double* q, const FootContact& left,
                                      const FootContact& right, const std::string& see) {
  TextAppender out(&message);
  AppendJoint(out, q, kHj1);
  AppendJoint(out, q, kHj2);
  out.Append(see);
  for (int j = kRaj1; j <= kRaj4; ++j) AppendJoint(out, q, j);
  for (int j = kLaj1; j <= kLaj4; ++j) AppendJoint(out, q, j);
  for (int j = kRlj1; j <= kRlj5; ++j) AppendJoint(out, q, j);
  AppendFoot(out, "rf", right);
  AppendJoint(out, q, kRlj6);
  for (int j = kLlj1; j <= kLlj5; ++j) AppendJoint(out, q, j);
  AppendFoot(out, "lf", left);
  AppendJoint(out, q, kLlj6);
}

void Perceptor::AppendHeard(std::string& out, const RosterEntry& listener, const std::vector<Spoken>& spoken) {
  if (!listener.registered) return;
  bool own_slot = false, other_slot = false;
  for (const Spoken& s : spoken) {
    if (s.speaker != listener.id) continue;
    AppendHear(out, s.team, s.game_time, true, 0.0, s.text);
    own_slot = true;
  }
  const Frame cam = listener.body.CameraWorld();
  for (const Spoken& s : spoken) {
    if (s.speaker == listener.id) continue;
    bool& slot = s.side == listener.side ? own_slot : other_slot;
    if (slot) continue;  // one message per team and step
    slot = true;
    const Polar pol = Vision::ToPolar(cam, s.at);
    AppendHear(out, s.team, s.game_time, false, pol.h, s.text);
  }
}

namespace {

// " (name (pol d h v))", measured with the vision's noise.
void AppendItem(TextAppender& see, Vision& vision, const char* name, const Polar& exact) {
  see.Append(" (");
  see.Append(name, std::strlen(name));
  see.Append(' ');
  Vision::AppendPolar(see, vision.Measure(exact));
  see.Append(')');
}

// The item of a point when it is in view.
void AppendSighting(TextAppender& see, const Frame& cam, Vision& vision, const char* name, const Eigen::Vector3d& p) {
  Polar pol;
  if (Vision::Sight(cam, p, &pol)) AppendItem(see, vision, name, pol);
}

}  // namespace

void Perceptor::AppendSee(std::string& text, RosterEntry& viewer, const std::vector<RosterEntry*>& players,
                          const Eigen::Vector3d& ball) {
  using namespace FieldGeometry;
  const Frame cam = viewer.body.CameraWorld();
  TextAppender see(&text);
  see.Append("(See");
  for (int i = 0; i < kLandmarkNum; ++i) AppendSighting(see, cam, viewer.vision, kLandmarks[i].name, LandmarkPosition(i));
  AppendSighting(see, cam, viewer.vision, "B", ball);

  static const int kHead = SimKinematics::PartIndex("head");
  for (const RosterEntry* entry : players) {
    const RosterEntry& o = *entry;
    if (!o.registered) continue;
    const bool self = o.id == viewer.id;
    struct Part {
      const char* name;
      Eigen::Vector3d at;
      bool own;  // seen on oneself too
    };
    const Part parts[5] = {
        {"head", o.body.PartWorld(kHead), false},
        {"rlowerarm", o.body.LowerArmWorld(SimKinematics::kRight), true},
        {"llowerarm", o.body.LowerArmWorld(SimKinematics::kLeft), true},
        {"rfoot", o.body.SoleWorld(SimKinematics::kRight).p, false},
        {"lfoot", o.body.SoleWorld(SimKinematics::kLeft).p, false},
    };
    // " (P (team T) (id N)" only once a part of the player is in view.
    bool any = false;
    for (const Part& p : parts) {
      if (self && !p.own) continue;
      Polar pol;
      if (!Vision::Sight(cam, p.at, &pol)) continue;
      if (!any) {
        see.Append(" (P (team ");
        see.Append(o.team);
        see.Append(") (id ");
        AppendInt(see, o.unum);
        see.Append(')');
        any = true;
      }
      AppendItem(see, viewer.vision, p.name, pol);
    }
    if (any) see.Append(')');
  }
  see.Append(')');
}
