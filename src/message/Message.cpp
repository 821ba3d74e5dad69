#include "message/Message.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string_view>

#include "tool/FindText.h"

namespace {

using Pos = std::string::size_type;
constexpr Pos kNone = std::string::npos;

// Body-part keywords of a player sighting, in the order head, right lower
// arm, left lower arm, right foot, left foot.
const char* const kPartKeys[5] = {"(head (pol", "(rlowerarm (pol", "(llowerarm (pol",
                                  "(rfoot (pol", "(lfoot (pol"};
const std::size_t kPartKeyLength[5] = {10, 15, 15, 11, 11};

// End of a field that starts at begin and ends before the next delim; a
// field without its delimiter runs to the end of the text.
Pos FieldEnd(std::string_view s, Pos begin, char delim) {
  if (begin >= s.size()) return s.size();
  // Fields are short: a plain loop beats a library call.
  Pos e = begin;
  while (e < s.size() && s[e] != delim) ++e;
  return e;
}

// Text in [begin, end), empty when begin lies at or beyond the end.
std::string_view Text(std::string_view s, Pos begin, Pos end) {
  if (begin >= s.size() || end <= begin) return std::string_view();
  return s.substr(begin, end - begin);
}

// The numeric prefix of [begin, end) after leading white space: only
// characters that can belong to a decimal number are taken, so hex forms,
// "inf" and "nan" do not pass.
std::string_view NumberText(std::string_view s, Pos begin, Pos end, bool real) {
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
  return stop > begin ? s.substr(begin, stop - begin) : std::string_view();
}

// strtod or strtol on a copy of num that ends in a NUL, on the stack when
// it is short.
template <typename F>
auto OnTerminatedCopy(std::string_view num, F convert) {
  char buf[64];
  if (num.size() < sizeof buf) {
    std::memcpy(buf, num.data(), num.size());
    buf[num.size()] = '\0';
    return convert(buf);
  }
  const std::string copy(num);
  return convert(copy.c_str());
}

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// White space as the "C" locale has it.
bool IsSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

const double kPow10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Decimal real number at the start of [begin, end); 0 when the text does not
// begin with a number or the value does not fit a double. The common plain
// form ("-12.34", at most 15 digits) is read in the same pass that finds it:
// the digits as an integer, divided once by a power of ten, both exact in a
// double, so the one rounding gives the correctly rounded value, as strtod
// does. Exponents and long digit strings go to strtod.
double ToReal(std::string_view s, Pos begin, Pos end) {
  if (end > s.size()) end = s.size();
  const char* p = s.data() + begin;
  const char* const stop = s.data() + end;
  while (p < stop && IsSpace(*p)) ++p;
  bool negative = false;
  if (p < stop && (*p == '+' || *p == '-')) negative = *p++ == '-';
  std::uint64_t mantissa = 0;
  const char* const digits = p;
  while (p < stop && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
  std::ptrdiff_t count = p - digits;
  std::ptrdiff_t fraction = 0;
  if (p < stop && *p == '.') {
    const char* const first = ++p;
    while (p < stop && IsDigit(*p)) mantissa = mantissa * 10 + static_cast<unsigned>(*p++ - '0');
    fraction = p - first;
    count += fraction;
  }
  if (count == 0) return 0.0;  // no digits: strtod converts nothing
  // At most 15 digits (so the integer is exact) and no exponent behind.
  if (count <= 15 && !(p < stop && (*p == 'e' || *p == 'E'))) {
    const double v = static_cast<double>(mantissa) / kPow10[fraction];
    return negative ? -v : v;
  }
  const std::string_view num = NumberText(s, begin, end, true);
  if (num.empty()) return 0.0;
  const double v = OnTerminatedCopy(num, [](const char* c) { return std::strtod(c, nullptr); });
  return std::isfinite(v) ? v : 0.0;
}

// Base-10 integer at the start of [begin, end); 0 when there is none, and
// clamped to the range of int.
int ToInt(std::string_view s, Pos begin, Pos end) {
  const std::string_view num = NumberText(s, begin, end, false);
  if (num.empty()) return 0;
  const long v = OnTerminatedCopy(num, [](const char* c) { return std::strtol(c, nullptr, 10); });
  if (v > INT_MAX) return INT_MAX;
  if (v < INT_MIN) return INT_MIN;
  return static_cast<int>(v);
}

// Three numbers "a b c)" starting at start: the first two end at a space,
// the last at ")". Returns false when start is at or beyond the end of the
// text. close receives the position of the ")" ending the third number, or
// kNone when the text ends first.
bool ReadTriple(std::string_view s, Pos start, double out[3], Pos* close = nullptr) {
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

// Slot of a joint name in the joint index: "hj1", "hj2", then the arm
// joints "laj1".."raj4" and the leg joints "llj1".."rlj6"; -1 for any
// other name.
int JointSlot(std::string_view name) {
  if (name.size() == 3 && name[0] == 'h' && name[1] == 'j' && (name[2] == '1' || name[2] == '2')) {
    return name[2] - '1';
  }
  if (name.size() != 4 || name[2] != 'j' || (name[0] != 'l' && name[0] != 'r')) return -1;
  const int side = name[0] == 'l' ? 0 : 1;
  const int n = name[3] - '1';
  if (name[1] == 'a' && n >= 0 && n < 4) return 2 + side * 4 + n;
  if (name[1] == 'l' && n >= 0 && n < 6) return 10 + side * 6 + n;
  return -1;
}

}  // namespace

Message::Message(int id, const std::string& team)
    : msg("(init (unum " + std::to_string(id) + ")(teamname " + team + "))"),
      gyro_(Eigen::Vector3d::Zero()),
      acc_(Eigen::Vector3d::Zero()),
      fri_team_(team),
      f_score_(0),
      e_score_(0),
      territory_(Side::kNone),
      game_time_valid_(false),
      game_time_(-1.0),
      player_index_valid_(false) {
  joint_index_valid_ = false;
  frp_valid_[0] = frp_valid_[1] = false;
}

void Message::TextChanged() {
  game_time_valid_ = false;
  player_index_valid_ = false;
  joint_index_valid_ = false;
  frp_valid_[0] = frp_valid_[1] = false;
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

void Message::BuildJointIndex() {
  for (Pos& p : joint_pos_) p = kNone;
  // Every joint name has one 'j' with a digit behind it, and the letters
  // before it tell which name it is: one pass over the 'j's finds the first
  // occurrence of each name, wherever it stands in the text.
  const char* const text = msg.data();
  const Pos size = msg.size();
  for (Pos p = 1; p + 1 < size; ++p) {
    const void* j = std::memchr(text + p, 'j', size - 1 - p);
    if (j == nullptr) break;
    p = static_cast<Pos>(static_cast<const char*>(j) - text);
    if (!IsDigit(text[p + 1])) continue;
    if (text[p - 1] != 'h' && p < 2) continue;
    const Pos begin = text[p - 1] == 'h' ? p - 1 : p - 2;
    const int slot = JointSlot(std::string_view(text + begin, p + 2 - begin));
    if (slot >= 0 && joint_pos_[slot] == kNone) joint_pos_[slot] = begin;
  }
  joint_index_valid_ = true;
}

double Message::ParseJoint(const std::string& name) {
  Pos n = kNone;
  const int slot = JointSlot(name);
  if (slot >= 0) {
    if (!joint_index_valid_) BuildJointIndex();
    n = joint_pos_[slot];
  } else {
    n = FindText(msg, name);
  }
  if (n == kNone) return 0.0;
  const Pos start = Behind(FindText(msg, "(ax", n), 4);
  if (start == kNone || start >= msg.size()) return 0.0;
  return ToReal(msg, start, FieldEnd(msg, start, ')'));
}

double Message::ReadGameTime() const {
  if (FindText(msg, "now") == kNone) return -1.0;
  const Pos gs = FindText(msg, "GS");
  if (gs == kNone) return -1.0;
  const Pos start = Behind(FindText(msg, "(t ", gs), 3);
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

const std::string& Message::ParsePlayMode() {
  const Pos start = Behind(FindText(msg, "pm"), 3);
  if (start == kNone || start >= msg.size()) {
    play_mode_ = "Unknown";
  } else {
    play_mode_ = Text(msg, start, FieldEnd(msg, start, ')'));
  }
  return play_mode_;
}

Side Message::ParseTerritory() {
  if (FindText(msg, "(team left)") != kNone) {
    territory_ = Side::kLeft;
  } else if (FindText(msg, "(team right)") != kNone) {
    territory_ = Side::kRight;
  }
  return territory_;
}

int Message::ParseUniformNumber() {
  const Pos start = Behind(FindText(msg, "(unum "), 6);
  if (start == kNone || start >= msg.size()) return 0;
  return ToInt(msg, start, FieldEnd(msg, start, ')'));
}

int Message::ParseScore(char which) {
  if (fri_team_.empty()) return -1;
  const Pos sl = FindText(msg, "(sl ");
  if (sl == kNone) return -1;
  const Pos sl_space = msg.find(' ', sl);
  const Pos sl_close = FieldEnd(msg, sl_space, ')');
  f_score_ = ToInt(msg, sl_space, sl_close);

  const Pos sr = FindText(msg, "(sr ", sl_close + 1);
  if (sr == kNone) return -1;
  const Pos sr_space = msg.find(' ', sr);
  e_score_ = ToInt(msg, sr_space, FieldEnd(msg, sr_space, ')'));

  return (which == 'F' || which == 'f') ? f_score_ : e_score_;
}

Eigen::Vector3d& Message::ParseGyro() {
  const Pos gyr = FindText(msg, "(GYR");
  if (gyr == kNone) return gyro_;
  double v[3];
  if (ReadTriple(msg, Behind(FindText(msg, "(rt ", gyr), 4), v)) gyro_ = Eigen::Vector3d(v[0], v[1], v[2]);
  return gyro_;
}

Eigen::Vector3d& Message::ParseAcc() {
  const Pos acc = FindText(msg, "(ACC");
  if (acc == kNone) return acc_;
  double v[3];
  if (ReadTriple(msg, Behind(FindText(msg, "(a ", acc), 3), v)) acc_ = Eigen::Vector3d(v[0], v[1], v[2]);
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

  // The body model and the agent both read the feet from the same text.
  const int slot = stored == &frp_r_ ? 1 : 0;
  if (frp_valid_[slot]) return frp_read_[slot];
  frp_valid_[slot] = true;
  frp_read_[slot] = ReadFrp(key, stored);
  return frp_read_[slot];
}

ForceResistance Message::ReadFrp(const char* key, ForceResistance* stored) {
  const Pos k = FindText(msg, key);
  if (k == kNone) return ForceResistance();
  double c[3];
  Pos c_close = kNone;
  if (!ReadTriple(msg, Behind(FindText(msg, "c ", k), 2), c, &c_close) || c_close == kNone) {
    return ForceResistance();
  }
  double f[3];
  if (!ReadTriple(msg, Behind(FindText(msg, "f ", c_close + 1), 2), f)) return ForceResistance();

  stored->coord = Eigen::Vector3d(c[0], c[1], c[2]);
  stored->force = Eigen::Vector3d(f[0], f[1], f[2]);
  stored->existence = true;
  return *stored;
}

bool Message::ParseSeeMsg() {
  if (FindText(msg, "(See") == kNone) {
    vision_.see = false;
    return false;
  }
  vision_.before_see_time = vision_.see_time;
  vision_.see = true;
  vision_.see_time = ParseGameTime();
  vision_.vis_count = 0;
  return true;
}

void Message::ParseBall(Ball& ball) {
  double v[3];
  if (!ReadTriple(msg, Behind(FindText(msg, "B (pol"), 7), v)) {
    ball.visible = false;
    return;
  }
  ball.distance = v[0];
  ball.h_angle = v[1];
  ball.v_angle = v[2];
  ball.visible = true;
  ball.before_vis_time = ball.vis_time;
  ball.vis_time = 0.0;
}

void Message::ParseFlags(Object* const* flags) {
  for (int i = 0; i < Object::kFlagNum; ++i) {
    const char* const name = Object::kFlagNames[i];
    Object& flag = *flags[i];
    const Pos n = FindText(msg, name);
    if (n == kNone) {
      flag.visible = false;
      continue;
    }
    double v[3];
    if (!ReadTriple(msg, Behind(FindText(msg, "(pol ", n), 5), v)) continue;
    flag.distance = v[0];
    flag.h_angle = v[1];
    flag.v_angle = v[2];
    flag.visible = true;
    ++vision_.vis_count;
    flag.before_vis_time = flag.vis_time;
    flag.vis_time = ParseGameTime();
  }
}

std::string Message::ParseTeamName(int n) {
  if (team_[1].empty()) {
    std::string last = team_[0];
    int k = team_[0].empty() ? 0 : 1;
    Pos from = 0;
    // A sighting without a team name carries no name: it is passed over, so
    // that only real names fill the two slots.
    while (k < 2) {
      const Pos p = FindText(msg, "(P (team ", from);
      if (p == kNone) break;
      const Pos start = p + 9;
      const Pos end = FieldEnd(msg, start, ')');
      const std::string_view name = Text(msg, start, end);
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
  static const std::string_view kPlayerKey = "(P (team ";
  const std::string_view text = msg;
  players_.clear();
  for (auto& list : part_pos_) list.clear();
  ForEachChar(text, '(', [&](Pos p) {
    if (p + 1 >= text.size()) return;
    int part = -1;
    switch (text[p + 1]) {  // the keywords differ in their first letter but for the arms
      case 'P':
        if (text.compare(p, kPlayerKey.size(), kPlayerKey) == 0) players_.push_back(PlayerKeyAt(p));
        return;
      case 'h': part = 0; break;
      case 'r': part = text.compare(p, 4, "(rlo") == 0 ? 1 : 3; break;
      case 'l': part = text.compare(p, 4, "(llo") == 0 ? 2 : 4; break;
      default: return;
    }
    if (text.compare(p, kPartKeyLength[part], kPartKeys[part]) == 0) part_pos_[part].push_back(p);
  });
  player_index_valid_ = true;
}

// What a sighting's key "(P (team NAME) (id N)" at p holds: where the name
// ends (the first ')' behind "(P (team ") and the number, when it is
// written as the player would write it (one or two digits, no leading 0).
Message::PlayerKey Message::PlayerKeyAt(Pos p) const {
  const std::string_view text = msg;
  PlayerKey key;
  key.pos = p;
  key.close = FieldEnd(text, p + 9, ')');
  key.id = -1;
  static const std::string_view kId = ") (id ";
  if (text.compare(key.close, kId.size(), kId) != 0) return key;
  const Pos d = key.close + kId.size();
  if (d + 1 < text.size() && IsDigit(text[d]) && text[d + 1] == ')') {
    key.id = text[d] - '0';
  } else if (d + 2 < text.size() && IsDigit(text[d]) && text[d] != '0' && IsDigit(text[d + 1]) &&
             text[d + 2] == ')') {
    key.id = (text[d] - '0') * 10 + (text[d + 1] - '0');
  }
  return key;
}

// True when the text at the key reads "(P (team TEAM) (id ID)". Unless the
// team name holds a ')' itself, the name must end at the key's first ')'
// and the number must be the key's, which settles most keys at once.
bool Message::IsPlayerKey(const PlayerKey& key, const std::string& team, bool plain_team, int id) const {
  const std::string_view text = msg;
  const Pos name = key.pos + 9;  // behind "(P (team "
  if (plain_team) {
    return key.id == id && key.close - name == team.size() && text.compare(name, team.size(), team) == 0;
  }
  char number[16];
  const std::to_chars_result r = std::to_chars(number, number + sizeof number, id);
  Pos at = name;
  auto next = [&](std::string_view piece) {
    if (text.compare(at, piece.size(), piece) != 0) return false;
    at += piece.size();
    return true;
  };
  return next(team) && next(") (id ") && next(std::string_view(number, r.ptr - number)) && next(")");
}

void Message::ParsePlayer(const std::string& team, int id, Player& player) {
  Object* parts[5] = {&player.head, &player.rarm, &player.larm, &player.rfoot, &player.lfoot};
  Pos k = kNone;
  if (id >= 0 && id < kPlayerSlots) {
    if (!player_index_valid_) BuildPlayerIndex();
    const bool plain_team = team.find(')') == std::string::npos;
    for (const PlayerKey& key : players_) {
      if (IsPlayerKey(key, team, plain_team, id)) {
        k = key.pos;
        break;
      }
    }
  }
  if (k == kNone) {
    for (Object* part : parts) part->visible = false;
    return;
  }

  for (int i = 0; i < 5; ++i) {
    // First occurrence of the part keyword at or after the key, anywhere in
    // the rest of the text.
    const auto& list = part_pos_[i];
    const auto it = std::lower_bound(list.begin(), list.end(), k);
    const Pos found = it == list.end() ? kNone : *it;
    double v[3] = {0.0, 0.0, 0.0};
    const bool seen = ReadTriple(msg, Behind(found, kPartKeyLength[i] + 1), v);
    Object& part = *parts[i];
    part.visible = seen;
    part.distance = seen ? v[0] : 0.0;
    part.h_angle = seen ? v[1] : 0.0;
    part.v_angle = seen ? v[2] : 0.0;
    part.before_vis_time = seen ? part.vis_time : 0.0;
    part.vis_time = seen ? ParseGameTime() : 0.0;
  }
}

int Message::ParseLineCount() {
  int count = 0;
  for (Pos p = FindText(msg, "(L "); p != kNone; p = FindText(msg, "(L ", p + 1)) ++count;
  return count;
}

const Hearing& Message::ParseHearingMsg(int n) {
  hear_[0].Init();
  hear_[1].Init();
  no_hearing_.Init();
  if (fri_team_.empty()) {
    std::cerr << "Not initialize \"friend_team_name\"." << std::endl;
    return (n == 0 || n == 1) ? hear_[n] : no_hearing_;
  }
  if (n < 0 || n >= 2) {
    std::cerr << "Error : Over hear message number '" << static_cast<long long>(n) + 1 << "'."
              << std::endl;
    return no_hearing_;
  }

  // The (n+1)-th "(hear " ... ")" of the text.
  std::string_view heard;
  Pos from = 0;
  for (int i = 0; i <= n; ++i) {
    const Pos h = FindText(msg, "(hear ", from);
    if (h == kNone) return hear_[n];
    const Pos close = msg.find(')', h);
    if (close == kNone) return hear_[n];
    if (i == n) heard = std::string_view(msg).substr(h, close - h + 1);
    from = close + 1;
  }

  Hearing& rec = hear_[n];
  rec.msg_ = heard;
  Pos scan = 0;
  const Pos team = FindText(heard, fri_team_);
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
