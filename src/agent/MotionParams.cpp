#include "agent/MotionParams.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <sstream>

#include "agent/motion_sequence/MotionSequence.h"

namespace {

// Where a key's value lives in a parameter set.
struct Slot {
  Slot(double* v) : d(v) {}
  Slot(float* v) : f(v) {}
  Slot(int* v) : i(v) {}
  Slot(bool* v) : b(v) {}
  Slot(std::string* v) : s(v) {}
  double* d = nullptr;
  float* f = nullptr;
  int* i = nullptr;
  bool* b = nullptr;
  std::string* s = nullptr;  // a motion-sequence document, read from a file
};

struct Key {
  const char* name;
  double min, max;
  const char* meaning;
  Slot (*slot)(MotionParams&);
};

#define KEY(name, member, lo, hi, meaning) \
  { name, lo, hi, meaning, [](MotionParams& p) { return Slot(&p.member); } }

const Key kKeys[] = {
    KEY("walk.speed_step", walk.speed_step, 0.001, 1, "forward speed change per cycle"),
    KEY("walk.direction_step", walk.direction_step, 0.001, 1, "sideways command change per cycle"),
    KEY("walk.curve_step", walk.curve_step, 0.001, 1, "turning command change per cycle"),
    KEY("walk.backward_phase_shift", walk.backward_phase_shift, 0, 20, "loop points the phase shifts walking backwards"),
    KEY("walk.turn_yaw", walk.turn_yaw, -90, 90, "hip yaw-pitch per unit of curve, turning half (degrees)"),
    KEY("walk.open_foot_yaw", walk.open_foot_yaw, -45, 45, "hip yaw-pitch of the wide stance's other half (degrees)"),
    KEY("walk.roll_lead", walk.roll_lead, -45, 45, "hip roll per unit of direction, leading half (degrees)"),
    KEY("walk.roll_trail", walk.roll_trail, -45, 45, "hip roll per unit of direction, trailing half (degrees)"),
    KEY("walk.open_foot_roll", walk.open_foot_roll, -45, 45, "extra roll of the wide stance (degrees)"),
    KEY("walk.ankle_yaw_share", walk.ankle_yaw_share, -2, 2, "share of the hip yaw-pitch the ankle pitch takes"),
    KEY("walk.yaw_gain", walk.yaw_gain, 0, 2, "gain of the hip yaw-pitch joints"),
    KEY("walk.pitch_gain", walk.pitch_gain, 0, 2, "gain of the pitch joints"),
    KEY("walk.roll_gain", walk.roll_gain, 0, 2, "gain of the roll joints"),
    KEY("walk.max_speed", walk.max_speed, 0, 1, "limit of the forward command"),
    KEY("walk.max_direction", walk.max_direction, 0, 1, "limit of the sideways command"),
    KEY("walk.max_curve", walk.max_curve, 0, 1, "limit of the turning command"),
    KEY("walk.hip_pitch_offset", walk.hip_pitch_offset, -30, 30, "added to the hip pitch: the torso's lean (degrees)"),
    KEY("walk.ankle_offset", walk.ankle_offset, -30, 30, "added to the ankle pitch (degrees)"),
    KEY("walk.height_offset", walk.height_offset, -60, 60, "added to the loops' height (mm; negative crouches)"),
    KEY("walk.thigh_length", walk.thigh_length, 50, 250, "the leg solver's thigh (mm)"),
    KEY("walk.shank_length", walk.shank_length, 20, 250, "the leg solver's shank (mm)"),

    KEY("kick.try_distance", kick.try_distance, 0.05, 1, "ball distance at which a kick is tried (m)"),
    KEY("kick.escape_margin", kick.escape_margin, 0, 0.5, "the ball escapes this much further (m)"),
    KEY("kick.cool_time", kick.cool_time, 0, 10, "pause after a kick (s)"),
    KEY("kick.full_power", kick.full_power, 0, 1e6, "proportion of the strike's radian commands"),
    KEY("kick.max_ball_angle", kick.max_ball_angle, 0, 90, "the kick is given up past this angle (degrees)"),
    KEY("kick.start_crouch", kick.start_crouch, 0, 80, "hip pitch the crouch starts from (degrees)"),
    KEY("kick.deepest_crouch", kick.deepest_crouch, 0, 80, "hip pitch the crouch deepens to (degrees)"),
    KEY("kick.steady_zmp", kick.steady_zmp, 0, 1, "centre of pressure steady within (m)"),
    KEY("kick.crouch_knee", kick.crouch_knee, -5, 0, "knee per degree of crouch"),
    KEY("kick.crouch_ankle", kick.crouch_ankle, 0, 5, "ankle per degree of crouch"),
    KEY("kick.crouch_gain", kick.crouch_gain, 0, 2, "gain of the crouch"),
    KEY("kick.max_shift", kick.max_shift, 0, 45, "roll of the weight shift (degrees)"),
    KEY("kick.shift_step", kick.shift_step, 0, 45, "roll added per cycle (degrees)"),
    KEY("kick.rise_step", kick.rise_step, 0.1, 20, "crouch given up per cycle of the shift (degrees)"),
    KEY("kick.shift_gain", kick.shift_gain, 0, 2, "gain of the shift"),
    KEY("kick.set_cycles", kick.set_cycles, 1, 100, "cycles of setting the kicking leg"),
    KEY("kick.set_hip", kick.set_hip, -90, 90, "kicking hip pitch while set (degrees)"),
    KEY("kick.set_knee", kick.set_knee, -130, 0, "kicking knee while set (degrees)"),
    KEY("kick.set_ankle", kick.set_ankle, -45, 75, "kicking ankle while set (degrees)"),
    KEY("kick.set_stand_roll", kick.set_stand_roll, -45, 45, "standing leg's roll while set (degrees)"),
    KEY("kick.centred_ball", kick.centred_ball, 0, 0.5, "ball this close to the centre line: hip rolls in (m)"),
    KEY("kick.wide_ball", kick.wide_ball, 0, 0.5, "ball this far out: hip rolls out (m)"),
    KEY("kick.inward_roll", kick.inward_roll, -45, 45, "the kicking hip's inward roll (degrees)"),
    KEY("kick.outward_roll", kick.outward_roll, -45, 45, "the kicking hip's outward roll (degrees)"),
    KEY("kick.set_gain", kick.set_gain, 0, 2, "gain while setting"),
    KEY("kick.fire_cycles", kick.fire_cycles, 1, 100, "cycles of the strike"),
    KEY("kick.fire_yaw", kick.fire_yaw, -90, 90, "kicking hip yaw-pitch of the strike (degrees)"),
    KEY("kick.fire_hip", kick.fire_hip, -90, 120, "kicking hip pitch of the strike (degrees)"),
    KEY("kick.fire_knee_left", kick.fire_knee_left, -130, 0, "left kick's knee (degrees)"),
    KEY("kick.fire_knee_right", kick.fire_knee_right, -130, 0, "right kick's knee (degrees)"),
    KEY("kick.fire_ankle_left", kick.fire_ankle_left, -45, 75, "left kick's ankle (degrees)"),
    KEY("kick.fire_ankle_right", kick.fire_ankle_right, -45, 75, "right kick's ankle (degrees)"),
    KEY("kick.fire_stand_hip", kick.fire_stand_hip, -90, 90, "standing hip pitch of the strike (degrees)"),
    KEY("kick.fire_stand_ankle", kick.fire_stand_ankle, -45, 75, "standing ankle of the strike (degrees)"),
    KEY("kick.fire_roll", kick.fire_roll, -45, 45, "standing roll added during the strike (degrees)"),
    KEY("kick.fire_roll_gain", kick.fire_roll_gain, 0, 2, "gain of that roll"),

    KEY("kick_off.posture_gain", kick_off.posture_gain, 0, 2, "gain towards the kick-off posture"),
    KEY("kick_off.dead_band", kick_off.dead_band, 0, 10, "in the posture within (degrees)"),

    KEY("stand_up.fall_acceleration", stand_up.fall_acceleration, 0, 1000, "|acc.x| + |acc.y| of a fall (m/s^2)"),
    KEY("stand_up.fall_zmp_radius", stand_up.fall_zmp_radius, 0, 10, "centre of pressure of a fall beyond (m)"),
    KEY("stand_up.spread_arm", stand_up.spread_arm, -120, 120, "arm spread when falling (degrees)"),
    KEY("stand_up.spread_gain", stand_up.spread_gain, 0, 2, "gain of the spread"),
    KEY("stand_up.settle_arm_gain", stand_up.settle_arm_gain, 0, 2, "gain of the arms while settling"),
    KEY("stand_up.settle_leg_gain", stand_up.settle_leg_gain, 0, 2, "gain of the legs while settling"),
    KEY("stand_up.settled_on_feet", stand_up.settled_on_feet, 0, 1000, "settling count on both feet (rises by 2)"),
    KEY("stand_up.settled_in_air", stand_up.settled_in_air, 0, 1000, "settling count otherwise (rises by 1)"),
    KEY("stand_up.down_gain", stand_up.down_gain, 0, 2, "gain of getting up from the front"),
    KEY("stand_up.down1_yaw", stand_up.down1_yaw, -90, 1, "hip yaw-pitch of the first front stage (degrees)"),
    KEY("stand_up.down1_hip", stand_up.down1_hip, -25, 100, "hip pitch of the first front stage (degrees)"),
    KEY("stand_up.down1_cycles", stand_up.down1_cycles, 0, 1000, "cycles of the first front stage"),
    KEY("stand_up.down2_wait", stand_up.down2_wait, 0, 1000, "cycles before the second front stage"),
    KEY("stand_up.down2_yaw", stand_up.down2_yaw, -90, 1, "hip yaw-pitch of the second front stage (degrees)"),
    KEY("stand_up.down2_knee", stand_up.down2_knee, -130, 1, "knee of the second front stage (degrees)"),
    KEY("stand_up.down2_cycles", stand_up.down2_cycles, 0, 1000, "cycles of the second front stage"),
    KEY("stand_up.crouch_gain", stand_up.crouch_gain, 0, 2, "gain of the final crouch"),
    KEY("stand_up.crouch_cycles", stand_up.crouch_cycles, 0, 1000, "cycles of the final crouch"),
    KEY("stand_up.back_sequence_file", stand_up.back_sequence, 0, 0, "motion-sequence document of getting up from the back"),

    KEY("head.pan_target", head.pan.target, 0, 120, "pan sweep's ends (degrees)"),
    KEY("head.pan_turn", head.pan.turn, 0, 120, "the pan sweep turns past (degrees)"),
    KEY("head.pan_gain", head.pan.gain, 0, 2, "gain of the pan sweep"),
    KEY("head.tilt_target", head.tilt.target, 0, 45, "tilt sweep's ends (degrees)"),
    KEY("head.tilt_turn", head.tilt.turn, 0, 45, "the tilt sweep turns past (degrees)"),
    KEY("head.tilt_gain", head.tilt.gain, 0, 2, "gain of the tilt sweep"),
    KEY("head.track_gain", head.track_gain, 0, 2, "gain following the ball"),

    KEY("posture.ready_gain", posture.ready_gain, 0, 2, "gain towards the ready posture"),
    KEY("posture.dead_band", posture.dead_band, 0, 10, "in the posture within (degrees)"),

    KEY("behavior.walk_restart_from_zero", behavior.walk_restart_from_zero, 0, 1, "1: after getting up the walk ramps up from 0"),
    KEY("behavior.hold_estimates_when_fallen", behavior.hold_estimates_when_fallen, 0, 1, "1: estimates held while lying, getting up and settling"),
    KEY("behavior.settle_time", behavior.settle_time, 0, 30, "settling after getting up (s)"),
    KEY("behavior.upright_acc_z", behavior.upright_acc_z, 0, 20, "lying below this acc.z (m/s^2; 0: off; the real server reads about 0 standing)"),
};

#undef KEY

const Key* FindKey(const std::string& name) {
  for (const Key& k : kKeys) {
    if (name == k.name) return &k;
  }
  return nullptr;
}

std::string Trim(const std::string& s) {
  const char* ws = " \t\r";
  const std::size_t b = s.find_first_not_of(ws);
  if (b == std::string::npos) return std::string();
  return s.substr(b, s.find_last_not_of(ws) - b + 1);
}

std::string Number(double v) {
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.17g", v);
  return buf;
}

std::string Folder(const std::string& path) {
  const std::size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// Reads a whole file; false with the reason when it cannot.
bool ReadFile(const std::string& path, std::string* text, std::string* why) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    *why = std::strerror(errno);
    return false;
  }
  std::ostringstream s;
  s << in.rdbuf();
  if (in.bad()) {
    *why = "read error";
    return false;
  }
  *text = s.str();
  return true;
}

// Sets one key from its text; false with what is wrong.
bool SetValue(const Key& key, const std::string& text, const std::string& folder, MotionParams* p,
              std::string* why) {
  Slot slot = key.slot(*p);
  if (slot.s != nullptr) {
    if (text.empty()) {
      *why = "no file named";
      return false;
    }
    const std::string path = text[0] == '/' ? text : folder + text;
    std::string document, reason;
    if (!ReadFile(path, &document, &reason)) {
      *why = "cannot read " + path + ": " + reason;
      return false;
    }
    MotionSequence check;
    if (!check.ReadDirect(document, &reason)) {
      *why = path + ": " + reason;
      return false;
    }
    *slot.s = document;
    return true;
  }
  char* end = nullptr;
  errno = 0;
  const double v = std::strtod(text.c_str(), &end);
  if (text.empty() || end == text.c_str() || *end != '\0') {
    *why = "'" + text + "' is not a number";
    return false;
  }
  if (!std::isfinite(v) || errno == ERANGE) {
    *why = "'" + text + "' is not a finite number";
    return false;
  }
  if (v < key.min || v > key.max) {
    *why = text + " is outside " + Number(key.min) + " .. " + Number(key.max);
    return false;
  }
  if ((slot.i != nullptr || slot.b != nullptr) && v != std::floor(v)) {
    *why = "'" + text + "' is not a whole number";
    return false;
  }
  if (slot.d != nullptr) *slot.d = v;
  if (slot.f != nullptr) *slot.f = static_cast<float>(v);
  if (slot.i != nullptr) *slot.i = static_cast<int>(v);
  if (slot.b != nullptr) *slot.b = v != 0.0;
  return true;
}

}  // namespace

bool LoadMotionParams(const std::string& path, MotionParams* params, std::string* error) {
  std::string text, why;
  if (!ReadFile(path, &text, &why)) {
    *error = path + ": cannot read: " + why;
    return false;
  }
  MotionParams loaded = *params;  // nothing changes unless every line is good
  std::map<std::string, int> seen;
  std::istringstream lines(text);
  std::string line;
  int number = 0;
  while (std::getline(lines, line)) {
    ++number;
    const std::size_t hash = line.find('#');
    if (hash != std::string::npos) line.erase(hash);
    line = Trim(line);
    if (line.empty()) continue;
    const std::string at = path + ":" + std::to_string(number) + ": ";
    const std::size_t eq = line.find('=');
    if (eq == std::string::npos) {
      *error = at + "'" + line + "' is not \"key = value\"";
      return false;
    }
    const std::string name = Trim(line.substr(0, eq));
    const std::string value = Trim(line.substr(eq + 1));
    const Key* key = FindKey(name);
    if (key == nullptr) {
      *error = at + name + ": unknown key";
      return false;
    }
    if (seen.count(name) != 0) {
      *error = at + name + ": given twice (also on line " + std::to_string(seen[name]) + ")";
      return false;
    }
    seen[name] = number;
    if (!SetValue(*key, value, Folder(path), &loaded, &why)) {
      *error = at + name + ": " + why;
      return false;
    }
  }
  if (seen.empty()) {
    *error = path + ": no parameters in the file";
    return false;
  }
  *params = loaded;
  return true;
}

void WriteMotionParams(const MotionParams& params, std::ostream& out) {
  MotionParams p = params;
  for (const Key& key : kKeys) {
    const Slot slot = key.slot(p);
    if (slot.s != nullptr) continue;
    double v = 0.0;
    if (slot.d != nullptr) v = *slot.d;
    if (slot.f != nullptr) v = *slot.f;
    if (slot.i != nullptr) v = *slot.i;
    if (slot.b != nullptr) v = *slot.b ? 1.0 : 0.0;
    out << key.name << " = " << Number(v) << '\n';
  }
}

void DescribeMotionParams(std::ostream& out) {
  for (const Key& key : kKeys) {
    out << key.name;
    if (key.min < key.max) out << "  [" << Number(key.min) << " .. " << Number(key.max) << "]";
    out << "  " << key.meaning << '\n';
  }
}
