#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "message/Message.h"
#include "MessageTestData.h"
#include "tool/FindText.h"

namespace {

bool Finite(const Object& o) {
  return std::isfinite(o.distance) && std::isfinite(o.h_angle) && std::isfinite(o.v_angle) &&
         std::isfinite(o.vis_time) && std::isfinite(o.before_vis_time);
}

int g_seen_parts = 0;

// Runs one cycle's worth of parsing on the text and checks what must hold
// for any input: finite numbers, a known side, results cut from the text.
void ParseEverything(Message& m, const std::string& text) {
  m.SetMessage(text);
  for (const char* joint : {"hj1", "raj1", "laj4", "rlj6", "llj1"}) {
    ASSERT_TRUE(std::isfinite(m.ParseJoint(joint)));
  }
  ASSERT_TRUE(m.ParseGyro().allFinite() && m.ParseAcc().allFinite());
  for (char side : {'L', 'R'})
    ASSERT_TRUE(m.ParseFrp(side).coord.allFinite() && m.ParseFrp(side).force.allFinite());
  m.ParseHearingMsg(0);
  const Hearing h = m.ParseHearingMsg(1);
  ASSERT_TRUE(std::isfinite(h.GetTime()) && std::isfinite(h.GetDirection()));
  ASSERT_TRUE(h.GetMessage().empty() || text.find(h.GetMessage()) != std::string::npos);
  ASSERT_TRUE(std::isfinite(m.ParseGameTime()));
  const std::string pm = m.ParsePlayMode();
  ASSERT_TRUE(pm == "Unknown" || text.find(pm) != std::string::npos);
  m.ParseScore('F');
  const char side = m.ParseTerritory();
  ASSERT_TRUE(side == 'L' || side == 'R' || side == 'N');
  const std::string teams[] = {"Alpha", "Beta", m.ParseTeamName(0), m.ParseTeamName(1)};
  ASSERT_LE(m.ParseLineCount(), static_cast<int>(text.size()));
  if (!m.ParseSeeMsg()) return;
  ASSERT_TRUE(Finite(m.ParseBall()));
  for (const char* name : Object::kFlagNames) ASSERT_TRUE(Finite(m.ParseFlags(name)));
  ASSERT_LE(m.vision_.vis_count, 8);
  // Player parts come from a per-text list of keyword positions; they must
  // match a direct search of the text.
  const char* const part_keys[5] = {"(head (pol", "(rlowerarm (pol", "(llowerarm (pol",
                                    "(rfoot (pol", "(lfoot (pol"};
  for (int id = 1; id <= 11; ++id) {
    for (const std::string& team : teams) {
      const Player& p = m.ParsePlayer(team, id);
      const Object* parts[5] = {&p.head, &p.rarm, &p.larm, &p.rfoot, &p.lfoot};
      const std::size_t key = text.find("(P (team " + team + ") (id " + std::to_string(id) + ")");
      for (int j = 0; j < 5; ++j) {
        const std::size_t at = key == std::string::npos ? key : text.find(part_keys[j], key);
        const std::size_t start = at == std::string::npos ? at : at + std::strlen(part_keys[j]) + 1;
        ASSERT_EQ(parts[j]->visible, start < text.size()) << team << id << " part " << j;
        ASSERT_TRUE(Finite(*parts[j]));
        if (!parts[j]->visible) continue;
        ++g_seen_parts;
        // Compare where the distance is a plain decimal number.
        char* end = nullptr;
        const double d = std::strtod(text.c_str() + start, &end);
        const std::size_t len = static_cast<std::size_t>(end - text.c_str()) - start;
        if (len > 0 && std::strspn(text.c_str() + start, "0123456789+-.eE") >= len &&
            std::isfinite(d)) {
          ASSERT_DOUBLE_EQ(parts[j]->distance, d) << team << id << " part " << j;
        }
      }
    }
  }
}

// Pieces that steer the parser into its different paths when spliced in.
const char* const kFragments[] = {
    "(",      ")",         " ",           "(pol ",      "(ax",         "(rt ",
    "(a ",    "c ",        "f ",          "FRP (n lf",  "FRP (n rf",   "(See",
    "B (pol", "(P (team ", ") (id 1)",    "(head (pol", "(lfoot (pol", "(L ",
    "(hear ", "self",      "GS",          "now",        "(t ",         "pm",
    "(sl ",   "(sr ",      "(team left)", "F1R",        "G2L",         "-",
    ".",      "e",         "1e308",       "nan",        "0x1p3",       "Alpha"};

// Deletes, inserts (any byte or a fragment), cuts and overwrites at random.
std::string Mutate(std::string s, std::mt19937& rng) {
  auto pick = [&rng](std::size_t lo, std::size_t hi) {
    return std::uniform_int_distribution<std::size_t>(lo, hi)(rng);
  };
  for (std::size_t edits = pick(1, 8); edits > 0; --edits) {
    const std::size_t pos = pick(0, s.size());
    const std::size_t kind = pick(0, 4);
    if (kind == 0) s.erase(pos, pick(1, 40));
    if (kind == 1) s.insert(pos, 1, static_cast<char>(pick(0, 255)));
    if (kind == 2) s.insert(pos, kFragments[pick(0, std::size(kFragments) - 1)]);
    if (kind == 3) s.resize(pos);
    if (kind == 4 && pos < s.size()) s[pos] = "() .-0123456789aZ"[pick(0, 16)];
  }
  return s;
}

}  // namespace

TEST(MessageRobustnessTest, DamagedTextsParseSafely) {
  const std::string full = RecordedVisionMessage();
  std::vector<std::string> texts;
  for (std::size_t len = 0; len <= full.size(); ++len) texts.push_back(full.substr(0, len));
  const std::string base = std::string("(hear Alpha 1.00 self abc)(hear 2.0 -30 xyz)") +
                           "(GS (unum 1) (team right) (sl 1) (sr 2) (t 3.00) (pm PlayOn))" + full +
                           "(P (team Beta) (id 7) (head (pol 3 4 5)) (rfoot (pol 1 2 3)))";
  std::mt19937 rng(20240611u);
  for (int i = 0; i < 3000; ++i) texts.push_back(Mutate(base, rng));
  const std::string players =
      "(See (P (team Beta) (id 2) (head (pol 5 6 7))) (P (team Alpha) (id 3) (rfoot (pol 8 9 10)) "
      "(rlowerarm (pol 1 2 3))) (P (team Beta) (id 4) (lfoot (pol 1 1 1)) (llowerarm (pol 4 4 4)) "
      "(head (pol 2 2 2))) (P (team Beta) (id 2) (rfoot (pol 9 9 9))))";
  for (int i = 0; i < 2000; ++i) texts.push_back(Mutate(players, rng));
  // Huge texts of one character, or of one keyword without its data.
  for (char c : {'(', ')', ' ', '0', 'a', 'P', '\0', '\xff'}) texts.emplace_back(80 * 1024, c);
  for (const std::string k : {"(hear ", "(P (team ", "B (pol", "(L "}) {
    texts.emplace_back();
    while (texts.back().size() < 80 * 1024) texts.back() += k;
    texts.back() += "(See";
  }
  Message m(1, "Alpha");
  for (std::size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(i);
    ParseEverything(m, texts[i]);
    if (HasFatalFailure()) return;
  }
  EXPECT_EQ(m.ParseLineCount(), 80 * 1024 / 3 + 1);
  EXPECT_GT(g_seen_parts, 3000);  // the mutations leave most sightings readable
  // The complete text still parses as usual after all the damaged ones.
  m.SetMessage(full);
  EXPECT_EQ(m.ParsePlayMode(), "BeforeKickOff");
  EXPECT_TRUE(m.ParseFrp('L').existence);
}

namespace {

// Numbers are read without the C library where that is provably the same:
// every form a peer might send must give strtod's value bit for bit, and
// keyword search must find what std::string::find finds.
TEST(MessageRobustnessTest, NumbersAndKeywordsReadAsTheLibraryReadsThem) {
  std::mt19937 rng(11);
  const char kChars[] = "0123456789.-+eE";
  Message m(1, "Alpha");
  for (int round = 0; round < 4000; ++round) {
    std::string num;
    const int length = 1 + static_cast<int>(rng() % 24);
    for (int i = 0; i < length; ++i) {
      const bool digit = rng() % 4 != 0;
      num += digit ? kChars[rng() % 10] : kChars[10 + rng() % 5];
    }
    m.SetMessage("(HJ (n hj1) (ax " + num + "))");
    const double want = std::strtod(num.c_str(), nullptr);
    const double got = m.ParseJoint("hj1");
    const double expected = std::isfinite(want) ? want : 0.0;
    ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << num << " read " << got;
  }
  for (int round = 0; round < 2000; ++round) {
    std::string text, needle;
    for (int i = 0, n = static_cast<int>(rng() % 80); i < n; ++i) text += "(ab) "[rng() % 5];
    for (int i = 0, n = static_cast<int>(rng() % 6); i < n; ++i) needle += "(ab) "[rng() % 5];
    const size_t from = rng() % (text.size() + 2);
    ASSERT_EQ(FindText(text, needle, from), text.find(needle, from)) << text << " / " << needle << " @" << from;
  }
}

}  // namespace
