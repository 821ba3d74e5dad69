#include <cmath>
#include <cstdlib>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "message/Message.h"
#include "MessageTestData.h"

namespace {

const char* const kLandmarks[8] = {"F1R", "F2R", "F1L", "F2L", "G1R", "G2R", "G1L", "G2L"};

bool Finite(const Object& o) {
  return std::isfinite(o.distance) && std::isfinite(o.h_angle) && std::isfinite(o.v_angle) &&
         std::isfinite(o.vis_time) && std::isfinite(o.before_vis_time);
}

// Runs one agent cycle's worth of parsing (every operation) on the text and
// checks what must hold for any input: finite numbers, a known side, results
// cut from the text itself.
void ParseEverything(Message& m, const std::string& text) {
  m.SetMessage(text);
  for (const char* joint : {"hj1", "hj2", "raj1", "laj4", "rlj1", "rlj6", "llj1", "llj6"}) {
    ASSERT_TRUE(std::isfinite(m.ParseJoint(joint)));
  }
  ASSERT_TRUE(m.ParseGyro().allFinite());
  ASSERT_TRUE(m.ParseAcc().allFinite());
  for (char side : {'L', 'R'}) {
    const ForceResistance f = m.ParseFrp(side);
    ASSERT_TRUE(f.coord.allFinite() && f.force.allFinite());
  }
  m.ParseHearingMsg(0);
  const Hearing h = m.ParseHearingMsg(1);
  ASSERT_TRUE(std::isfinite(h.GetTime()) && std::isfinite(h.GetDirection()));
  ASSERT_TRUE(h.GetMessage().empty() || text.find(h.GetMessage()) != std::string::npos);

  ASSERT_TRUE(std::isfinite(m.ParseGameTime()));
  const std::string pm = m.ParsePlayMode();
  ASSERT_TRUE(pm == "Unknown" || text.find(pm) != std::string::npos);
  m.ParseScore('F');
  m.ParseScore('E');
  const char side = m.ParseTerritory();
  ASSERT_TRUE(side == 'L' || side == 'R' || side == 'N');
  const std::string t0 = m.ParseTeamName(0);
  const std::string t1 = m.ParseTeamName(1);
  ASSERT_LE(static_cast<int>(m.ParseLineCount()), static_cast<int>(text.size()));
  if (!m.ParseSeeMsg()) return;
  ASSERT_TRUE(Finite(m.ParseBall()));
  for (const char* name : kLandmarks) ASSERT_TRUE(Finite(m.ParseFlags(name)));
  ASSERT_LE(Object::vis_count, 8);
  for (int id = 1; id <= 11; ++id) {
    for (const std::string& team : {std::string("Alpha"), t0, t1}) {
      Player& p = m.ParsePlayer(team, id);
      for (const Object* part : {&p.head, &p.rarm, &p.larm, &p.rfoot, &p.lfoot}) {
        ASSERT_TRUE(Finite(*part));
      }
    }
  }
}

// Pieces that steer the parser into its different paths when spliced in.
const char* const kFragments[] = {
    "(", ")", " ", "(pol ", "(ax", "(rt ", "(a ", "c ", "f ", "FRP (n lf", "FRP (n rf", "(See",
    "B (pol", "(P (team ", ") (id 1)", "(head (pol", "(lfoot (pol", "(L ", "(hear ", "self",
    "GS", "now", "(t ", "pm", "(sl ", "(sr ", "(team left)", "F1R", "G2L", "-", ".", "e", "1e308",
    "nan", "0x1p3", "Alpha"};

std::string Mutate(const std::string& base, std::mt19937& rng) {
  std::string s = base;
  const int edits = std::uniform_int_distribution<int>(1, 8)(rng);
  for (int e = 0; e < edits; ++e) {
    const size_t pos = s.empty() ? 0 : std::uniform_int_distribution<size_t>(0, s.size())(rng);
    switch (std::uniform_int_distribution<int>(0, 4)(rng)) {
      case 0:  // delete a run
        if (pos < s.size()) s.erase(pos, std::uniform_int_distribution<size_t>(1, 40)(rng));
        break;
      case 1:  // any byte, NUL and high bytes included
        s.insert(pos, 1, static_cast<char>(std::uniform_int_distribution<int>(0, 255)(rng)));
        break;
      case 2:
        s.insert(pos, kFragments[std::uniform_int_distribution<size_t>(
                          0, sizeof(kFragments) / sizeof(kFragments[0]) - 1)(rng)]);
        break;
      case 3:  // cut the text here
        s.resize(pos);
        break;
      default:  // overwrite one character
        if (pos < s.size()) s[pos] = "() .-0123456789aZ"[std::uniform_int_distribution<int>(0, 16)(rng)];
        break;
    }
  }
  return s;
}

}  // namespace

TEST(MessageRobustnessTest, EveryTruncationOfARealMessage) {
  const std::string full = RecordedVisionMessage();
  Message m(1, "Alpha");
  for (size_t len = 0; len <= full.size(); ++len) {
    SCOPED_TRACE(len);
    ParseEverything(m, full.substr(0, len));
    if (HasFatalFailure()) return;
  }
  // The complete text still parses as usual after all the damaged ones.
  EXPECT_EQ(m.ParsePlayMode(), "BeforeKickOff");
  EXPECT_TRUE(m.ParseFrp('L').existence);
  Object::ResetVisionState();
}

TEST(MessageRobustnessTest, SeededRandomMutations) {
  const std::string base = std::string("(hear Alpha 1.00 self abc)(hear 2.0 -30 xyz)") +
                           "(GS (unum 1) (team right) (sl 1) (sr 2) (t 3.00) (pm PlayOn))" +
                           RecordedVisionMessage() +
                           "(P (team Beta) (id 7) (head (pol 3 4 5)) (rfoot (pol 1 2 3)))";
  std::mt19937 rng(20240611u);
  Message m(1, "Alpha");
  for (int i = 0; i < 3000; ++i) {
    const std::string text = Mutate(base, rng);
    SCOPED_TRACE(i);
    ParseEverything(m, text);
    if (HasFatalFailure()) return;
  }
  Object::ResetVisionState();
}

// Player parts are looked up in a per-text list of keyword positions; on
// damaged texts that must give what a direct search of the text gives.
TEST(MessageRobustnessTest, PlayerPartsMatchADirectSearchOfTheText) {
  const char* const part_keys[5] = {"(head (pol", "(rlowerarm (pol", "(llowerarm (pol",
                                    "(rfoot (pol", "(lfoot (pol"};
  const std::string base =
      "(See (P (team Beta) (id 2) (head (pol 5 6 7))) (P (team Alpha) (id 3) (rfoot (pol 8 9 10)) "
      "(rlowerarm (pol 1 2 3))) (P (team Beta) (id 4) (lfoot (pol 1 1 1)) (llowerarm (pol 4 4 4)) "
      "(head (pol 2 2 2))) (P (team Beta) (id 2) (rfoot (pol 9 9 9))))";
  std::mt19937 rng(7u);
  Message m(1, "Alpha");
  int seen_parts = 0;
  for (int i = 0; i < 2000; ++i) {
    const std::string text = Mutate(base, rng);
    m.SetMessage(text);
    for (const char* team : {"Alpha", "Beta"}) {
      for (int id = 1; id <= 4; ++id) {
        const Player& p = m.ParsePlayer(team, id);
        const Object* parts[5] = {&p.head, &p.rarm, &p.larm, &p.rfoot, &p.lfoot};
        const std::string key =
            std::string("(P (team ") + team + ") (id " + std::to_string(id) + ")";
        const size_t k = text.find(key);
        for (int j = 0; j < 5; ++j) {
          const size_t at = k == std::string::npos ? k : text.find(part_keys[j], k);
          const size_t start = at == std::string::npos ? at : at + std::string(part_keys[j]).size() + 1;
          const bool expect_seen = start != std::string::npos && start < text.size();
          ASSERT_EQ(parts[j]->visible, expect_seen) << text << " " << team << id << " part " << j;
          if (expect_seen) {
            ++seen_parts;
            // Compare where the distance is a plain decimal number.
            char* end = nullptr;
            const double d = std::strtod(text.c_str() + start, &end);
            const std::string span(text.c_str() + start, static_cast<size_t>(end - (text.c_str() + start)));
            if (!span.empty() && std::isfinite(d) &&
                span.find_first_not_of("0123456789+-.eE") == std::string::npos) {
              ASSERT_DOUBLE_EQ(parts[j]->distance, d) << text;
            }
          }
        }
      }
    }
  }
  EXPECT_GT(seen_parts, 1000);  // the mutations leave most sightings readable
}

TEST(MessageRobustnessTest, HugeTextsOfOneCharacter) {
  for (char c : {'(', ')', ' ', '0', 'a', 'P', '\0', '\xff'}) {
    Message m(1, "Alpha");
    SCOPED_TRACE(static_cast<int>(static_cast<unsigned char>(c)));
    ParseEverything(m, std::string(80 * 1024, c));
    EXPECT_DOUBLE_EQ(m.ParseGameTime(), -1.0);
    EXPECT_EQ(m.ParsePlayMode(), "Unknown");
    EXPECT_FALSE(m.ParseSeeMsg());
  }
  // Keywords repeated without their data.
  for (const char* k : {"(hear ", "(P (team ", "(L ", "B (pol"}) {
    std::string text;
    while (text.size() < 80 * 1024) text += k;
    Message m(1, "Alpha");
    ParseEverything(m, text + "(See");
  }
  Message lines(1, "Alpha");
  std::string text;
  for (int i = 0; i < 20000; ++i) text += "(L ";
  lines.SetMessage(text);
  EXPECT_EQ(lines.ParseLineCount(), 20000);
  Object::ResetVisionState();
}
