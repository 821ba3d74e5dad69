#include "message/Message.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cmath>
#include <cstdlib>
#include <iostream>

namespace {

using Pos = std::string::size_type;
constexpr Pos kNone = std::string::npos;

// Body-part keywords of a player sighting, in the order head, right lower
// arm, left lower arm, right foot, left foot.
const char* const kPartKeys[5] = {"(head (pol", "(rlowerarm (pol", "(llowerarm (pol",
                                  "(rfoot (pol", "(lfoot (pol"};

// End of a field that starts at begin and ends before the next delim; a
// field without its delimiter runs to the end of the text.
Pos FieldEnd(const std::string& s, Pos begin, char delim) {
  if (begin >= s.size()) return s.size();
  const Pos e = s.find(delim, begin);
  return e == kNone ? s.size() : e;
}

// Text in [begin, end), empty when begin lies at or beyond the end.
std::string Text(const std::string& s, Pos begin, Pos end) {
  if (begin >= s.size() || end <= begin) return std::string();
  return s.substr(begin, end - begin);
}

// Copy of the numeric prefix of [begin, end) after leading white space:
// only characters that can belong to a decimal number are taken, so hex
// forms, "inf" and "nan" do not pass.
std::string NumberText(const std::string& s, Pos begin, Pos end, bool real) {
  if (end > s.size()) end = s.size();
  while (begin < end && std::isspace(static_cast<unsigned char>(s[begin]))) ++begin;
  Pos stop = begin;
  while (stop < end) {
    const char c = s[stop];
    const bool digit = c >= '0' && c <= '9';
    const bool sign = c == '+' || c == '-';
    const bool real_part = real && (c == '.' || c == 'e' || c == 'E');
    if (!digit && !sign && !real_part) break;
    ++stop;
  }
  return stop > begin ? s.substr(begin, stop - begin) : std::string();
}

// Decimal real number at the start of [begin, end); 0 when the text does not
// begin with a number or the value does not fit a double.
double ToReal(const std::string& s, Pos begin, Pos end) {
  const std::string num = NumberText(s, begin, end, true);
  if (num.empty()) return 0.0;
  const double v = std::strtod(num.c_str(), nullptr);
  return std::isfinite(v) ? v : 0.0;
}

// Base-10 integer at the start of [begin, end); 0 when there is none, and
// clamped to the range of int.
int ToInt(const std::string& s, Pos begin, Pos end) {
  const std::string num = NumberText(s, begin, end, false);
  if (num.empty()) return 0;
  const long v = std::strtol(num.c_str(), nullptr, 10);
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// Three numbers "a b c)" starting at start: the first two end at a space,
// the last at ")". Returns false when start is at or beyond the end of the
// text. close receives the position of the ")" ending the third number, or
// kNone when the text ends first.
bool ReadTriple(const std::string& s, Pos start, double out[3], Pos* close = nullptr) {
  if (start == kNone || start >= s.size()) return false;
  const Pos e0 = FieldEnd(s, start, ' ');
  out[0] = ToReal(s, start, e0);
  const Pos s1 = e0 + 1;
  const Pos e1 = FieldEnd(s, s1, ' ');
  out[1] = ToReal(s, s1, e1);
  const Pos s2 = e1 + 1;
  const Pos e2 = FieldEnd(s, s2, ')');
  out[2] = ToReal(s, s2, e2);
  if (close != nullptr) *close = (s2 < s.size() && e2 < s.size()) ? e2 : kNone;
  return true;
}

// Position k characters behind a match, kNone when there was no match.
Pos Behind(Pos match, Pos k) { return match == kNone ? kNone : match + k; }

}  // namespace

Message::Message(int id, const std::string& team)
    : msg("(init (unum " + std::to_string(id) + ")(teamname " + team + "))"),
      gyro_(Eigen::Vector3d::Zero()),
      acc_(Eigen::Vector3d::Zero()),
      fri_team_(team),
      f_score_(0),
      e_score_(0),
      territory_('N'),
      game_time_valid_(false),
      game_time_(-1.0),
      player_index_valid_(false) {
  for (int i = 0; i < kFlagNum; ++i) flag_[i].InitName(Object::kFlagNames[i]);
}

void Message::TextChanged() {
  game_time_valid_ = false;
  player_index_valid_ = false;
}

void Message::SetMessage(const std::string& text) {
  msg = text;
  TextChanged();
}

Message& Message::operator=(const std::string& text) {
  SetMessage(text);
  return *this;
}

Message& Message::operator+=(const std::string& text) {
  msg += text;
  TextChanged();
  return *this;
}

double Message::ParseJoint(const std::string& name) {
  const Pos n = msg.find(name);
  if (n == kNone) return 0.0;
  const Pos start = Behind(msg.find("(ax", n), 4);
  if (start == kNone || start >= msg.size()) return 0.0;
  return ToReal(msg, start, FieldEnd(msg, start, ')'));
}

double Message::ReadGameTime() const {
  if (msg.find("now") == kNone) return -1.0;
  const Pos gs = msg.find("GS");
  if (gs == kNone) return -1.0;
  const Pos start = Behind(msg.find("(t ", gs), 3);
  if (start == kNone || start >= msg.size()) return -1.0;
  return ToReal(msg, start, FieldEnd(msg, start, ')'));
}

double Message::ParseGameTime() {
  if (!game_time_valid_) {
    game_time_ = ReadGameTime();
    game_time_valid_ = true;
  }
  return game_time_;
}

std::string Message::ParsePlayMode() {
  const Pos start = Behind(msg.find("pm"), 3);
  if (start == kNone || start >= msg.size()) return "Unknown";
  return Text(msg, start, FieldEnd(msg, start, ')'));
}

char Message::ParseTerritory() {
  if (msg.find("(team left)") != kNone) {
    territory_ = 'L';
  } else if (msg.find("(team right)") != kNone) {
    territory_ = 'R';
  }
  return territory_;
}

int Message::ParseUniformNumber() {
  const Pos start = Behind(msg.find("(unum "), 6);
  if (start == kNone || start >= msg.size()) return 0;
  return ToInt(msg, start, FieldEnd(msg, start, ')'));
}

int Message::ParseScore(char which) {
  if (fri_team_.empty()) return -1;
  const Pos sl = msg.find("(sl ");
  if (sl == kNone) return -1;
  const Pos sl_space = msg.find(' ', sl);
  const Pos sl_close = FieldEnd(msg, sl_space, ')');
  f_score_ = ToInt(msg, sl_space, sl_close);

  const Pos sr = msg.find("(sr ", sl_close + 1);
  if (sr == kNone) return -1;
  const Pos sr_space = msg.find(' ', sr);
  e_score_ = ToInt(msg, sr_space, FieldEnd(msg, sr_space, ')'));

  return (which == 'F' || which == 'f') ? f_score_ : e_score_;
}

Eigen::Vector3d& Message::ParseGyro() {
  const Pos gyr = msg.find("(GYR");
  if (gyr == kNone) return gyro_;
  double v[3];
  if (ReadTriple(msg, Behind(msg.find("(rt ", gyr), 4), v)) gyro_ = Eigen::Vector3d(v[0], v[1], v[2]);
  return gyro_;
}

Eigen::Vector3d& Message::ParseAcc() {
  const Pos acc = msg.find("(ACC");
  if (acc == kNone) return acc_;
  double v[3];
  if (ReadTriple(msg, Behind(msg.find("(a ", acc), 3), v)) acc_ = Eigen::Vector3d(v[0], v[1], v[2]);
  return acc_;
}

ForceResistance Message::ParseFrp(char side) {
  const char* key = nullptr;
  ForceResistance* stored = nullptr;
  if (side == 'R' || side == 'r') {
    key = "FRP (n rf";
    stored = &frp_r_;
  } else if (side == 'L' || side == 'l') {
    key = "FRP (n lf";
    stored = &frp_l_;
  } else {
    return ForceResistance();
  }

  const Pos k = msg.find(key);
  if (k == kNone) return ForceResistance();
  double c[3];
  Pos c_close = kNone;
  if (!ReadTriple(msg, Behind(msg.find("c ", k), 2), c, &c_close) || c_close == kNone) {
    return ForceResistance();
  }
  double f[3];
  if (!ReadTriple(msg, Behind(msg.find("f ", c_close + 1), 2), f)) return ForceResistance();

  stored->coord = Eigen::Vector3d(c[0], c[1], c[2]);
  stored->force = Eigen::Vector3d(f[0], f[1], f[2]);
  stored->existence = true;
  return *stored;
}

bool Message::ParseSeeMsg() {
  if (msg.find("(See") == kNone) {
    Object::see = false;
    return false;
  }
  Object::before_see_time = Object::see_time;
  Object::see = true;
  Object::see_time = ParseGameTime();
  Object::vis_count = 0;
  return true;
}

Ball& Message::ParseBall() {
  double v[3];
  if (!ReadTriple(msg, Behind(msg.find("B (pol"), 7), v)) {
    ball_.visible = false;
    return ball_;
  }
  ball_.distance = v[0];
  ball_.h_angle = v[1];
  ball_.v_angle = v[2];
  ball_.visible = true;
  ball_.before_vis_time = ball_.vis_time;
  ball_.vis_time = 0.0;
  return ball_;
}

Object& Message::ParseFlags(const std::string& name) {
  int index = -1;
  for (int i = 0; i < kFlagNum; ++i) {
    if (name == Object::kFlagNames[i]) index = i;
  }
  if (index < 0) {
    std::cout << "Not string format!!" << std::endl;
    no_flag_ = Object();
    return no_flag_;
  }

  Object& flag = flag_[index];
  flag.ResetTarget();
  const Pos n = msg.find(name);
  if (n == kNone) {
    flag.visible = false;
    return flag;
  }
  double v[3];
  if (!ReadTriple(msg, Behind(msg.find("(pol ", n), 5), v)) return flag;
  flag.distance = v[0];
  flag.h_angle = v[1];
  flag.v_angle = v[2];
  flag.visible = true;
  ++Object::vis_count;
  flag.before_vis_time = flag.vis_time;
  flag.vis_time = ParseGameTime();
  return flag;
}

std::string Message::ParseTeamName(int n) {
  if (team_[1].empty()) {
    std::string last = team_[0];
    int k = team_[0].empty() ? 0 : 1;
    Pos from = 0;
    // A sighting without a team name carries no name: it is passed over, so
    // that only real names fill the two slots.
    while (k < 2) {
      const Pos p = msg.find("(P (team ", from);
      if (p == kNone) break;
      const Pos start = p + 9;
      const Pos end = FieldEnd(msg, start, ')');
      const std::string name = Text(msg, start, end);
      if (!name.empty() && name != last) {
        team_[k] = name;
        last = name;
        ++k;
      }
      from = end + 1;
    }
  }
  if (n < 0 || n > 1) return std::string();
  return team_[n];
}

void Message::BuildPlayerIndex() {
  static const std::string kPlayerKey = "(P (team ";
  player_pos_.clear();
  for (auto& list : part_pos_) list.clear();
  for (Pos p = msg.find('('); p != kNone; p = msg.find('(', p + 1)) {
    if (msg.compare(p, kPlayerKey.size(), kPlayerKey) == 0) {
      player_pos_.push_back(p);
      continue;
    }
    for (int i = 0; i < 5; ++i) {
      const std::string::size_type len = std::char_traits<char>::length(kPartKeys[i]);
      if (msg.compare(p, len, kPartKeys[i]) == 0) {
        part_pos_[i].push_back(p);
        break;
      }
    }
  }
  player_index_valid_ = true;
}

Player& Message::ParsePlayer(const std::string& team, int id) {
  if (id < 0 || id >= kPlayerSlots) {
    no_player_ = Player();
    return no_player_;
  }
  Player& target = (team == fri_team_) ? friend_[id] : enemy_[id];
  Object* parts[5] = {&target.head, &target.rarm, &target.larm, &target.rfoot, &target.lfoot};

  if (!player_index_valid_) BuildPlayerIndex();
  const std::string key = "(P (team " + team + ") (id " + std::to_string(id) + ")";
  Pos k = kNone;
  for (Pos p : player_pos_) {
    if (msg.compare(p, key.size(), key) == 0) {
      k = p;
      break;
    }
  }
  if (k == kNone) {
    for (Object* part : parts) part->visible = false;
    return target;
  }

  for (int i = 0; i < 5; ++i) {
    // First occurrence of the part keyword at or after the key, anywhere in
    // the rest of the text.
    const auto& list = part_pos_[i];
    const auto it = std::lower_bound(list.begin(), list.end(), k);
    const Pos found = it == list.end() ? kNone : *it;
    double v[3] = {0.0, 0.0, 0.0};
    const bool seen =
        ReadTriple(msg, Behind(found, std::char_traits<char>::length(kPartKeys[i]) + 1), v);
    Object& part = *parts[i];
    part.visible = seen;
    part.distance = seen ? v[0] : 0.0;
    part.h_angle = seen ? v[1] : 0.0;
    part.v_angle = seen ? v[2] : 0.0;
    part.before_vis_time = seen ? part.vis_time : 0.0;
    part.vis_time = seen ? ParseGameTime() : 0.0;
  }
  target.visible_ = false;
  return target;
}

int Message::ParseLineCount() {
  int count = 0;
  for (Pos p = msg.find("(L "); p != kNone; p = msg.find("(L ", p + 1)) ++count;
  return count;
}

Hearing Message::ParseHearingMsg(int n) {
  hear_[0].Init();
  hear_[1].Init();
  if (fri_team_.empty()) {
    std::cerr << "Not initialize \"friend_team_name\"." << std::endl;
    return (n == 0 || n == 1) ? hear_[n] : Hearing();
  }
  if (n < 0 || n >= 2) {
    std::cerr << "Error : Over hear message number '" << static_cast<long long>(n) + 1 << "'."
              << std::endl;
    return Hearing();
  }

  // The (n+1)-th "(hear " ... ")" of the text.
  std::string heard;
  Pos from = 0;
  for (int i = 0; i <= n; ++i) {
    const Pos h = msg.find("(hear ", from);
    if (h == kNone) return hear_[n];
    const Pos close = msg.find(')', h);
    if (close == kNone) return hear_[n];
    if (i == n) heard = msg.substr(h, close - h + 1);
    from = close + 1;
  }

  Hearing& rec = hear_[n];
  rec.msg_ = heard;
  Pos scan = 0;
  const Pos team = heard.find(fri_team_);
  if (team != kNone) {
    rec.team_ = Text(heard, team, FieldEnd(heard, team, ' '));
    scan = team;
  }

  const Pos space = heard.find(' ', scan);
  if (space != kNone) {
    const Pos time_begin = space + 1;
    const Pos time_end = FieldEnd(heard, time_begin, ' ');
    rec.time_ = ToReal(heard, time_begin, time_end);

    const Pos dir_begin = time_end + 1;
    const Pos dir_end = FieldEnd(heard, dir_begin, ' ');
    if (Text(heard, dir_begin, dir_end) == "self") {
      rec.myself_ = true;
      rec.direction_ = 0.0;
    } else {
      rec.myself_ = false;
      rec.direction_ = ToReal(heard, dir_begin, dir_end);
    }

    if (dir_end < heard.size()) {
      const Pos text_begin = dir_end + 1;
      rec.text_ = Text(heard, text_begin, FieldEnd(heard, text_begin, ')'));
    }
  }
  return rec;
}
