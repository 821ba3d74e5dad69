// Damaged and hostile input: the parser and the whole cycle must stay safe,
// and numbers and keywords must read as the C library reads them.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "../support/ServerStreams.h"
#include "../support/ServerText.h"
#include "tool/FindText.h"

namespace {

bool Finite(const Object& o) {
  return std::isfinite(o.distance) && std::isfinite(o.h_angle) && std::isfinite(o.v_angle) &&
         std::isfinite(o.vis_time) && std::isfinite(o.before_vis_time);
}

// Parses everything of one text and checks what must hold for any input:
// finite numbers, the side the text names, results cut from the text, and
// player parts that a direct search of the text finds too. The sightings go
// into `into`, kept from text to text as in the player. Returns the parts
// seen.
int ParseEverything(Message& m, CommonInformation& into, const std::string& text) {
  m.SetMessage(text);
  for (const char* joint : {"hj1", "raj1", "laj4", "rlj6", "llj1"}) EXPECT_TRUE(std::isfinite(m.ParseJoint(joint)));
  EXPECT_TRUE(m.ParseGyro().allFinite() && m.ParseAcc().allFinite());
  for (char side : {'L', 'R'}) EXPECT_TRUE(m.ParseFrp(side).coord.allFinite() && m.ParseFrp(side).force.allFinite());
  const Hearing h = m.ParseHearingMsg(1);
  EXPECT_TRUE(std::isfinite(h.GetTime()) && std::isfinite(h.GetDirection()));
  EXPECT_TRUE(h.GetMessage().empty() || text.find(h.GetMessage()) != std::string::npos);
  EXPECT_TRUE(std::isfinite(m.ParseGameTime()));
  const std::string pm = m.ParsePlayMode();
  EXPECT_TRUE(pm == "Unknown" || text.find(pm) != std::string::npos) << pm;
  const Side side = m.ParseTerritory();  // the side this text names, else the one kept
  if (text.find("(team left)") != std::string::npos) {
    EXPECT_EQ(side, Side::kLeft);
  } else if (text.find("(team right)") != std::string::npos) {
    EXPECT_EQ(side, Side::kRight);
  }
  EXPECT_LE(m.ParseLineCount(), static_cast<int>(text.size()));
  if (!m.ParseSeeMsg()) return 0;
  m.ParseBall(*into.ball_);
  EXPECT_TRUE(Finite(*into.ball_));
  m.ParseFlags(into.flag_);
  for (const Object* flag : into.flag_) EXPECT_TRUE(Finite(*flag));
  const char* const keys[Player::kPartCount] = {"(head (pol", "(rlowerarm (pol", "(llowerarm (pol", "(rfoot (pol",
                                                "(lfoot (pol"};
  int seen = 0;
  for (const std::string& team : {std::string("Alpha"), m.ParseTeamName(0), m.ParseTeamName(1)}) {
    for (int id = 1; id <= 11; ++id) {
      Player& p = team == "Alpha" ? *into.friend_[id] : *into.enemy_[id];
      m.ParsePlayer(team, id, p);
      const size_t key = text.find("(P (team " + team + ") (id " + std::to_string(id) + ")");
      for (int j = 0; j < Player::kPartCount; ++j) {
        const Object& part = *p.PartAt(j);
        const size_t at = key == std::string::npos ? key : text.find(keys[j], key);
        const size_t start = at == std::string::npos ? at : at + std::strlen(keys[j]) + 1;
        EXPECT_EQ(part.visible, start < text.size()) << team << id << " part " << j;
        EXPECT_TRUE(Finite(part));
        if (!part.visible) continue;
        ++seen;
        char* end = nullptr;  // compare where the distance is a plain decimal number
        const double d = std::strtod(text.c_str() + start, &end);
        const size_t len = static_cast<size_t>(end - text.c_str()) - start;
        if (len > 0 && std::strspn(text.c_str() + start, "0123456789+-.eE") >= len && std::isfinite(d)) {
          EXPECT_DOUBLE_EQ(part.distance, d) << team << id << " part " << j;
        }
      }
    }
  }
  return seen;
}

TEST(RandomInputTest, MutatedMessagesParseSafelyAndEveryCycleAnswersAllJoints) {
  const std::vector<std::string> recorded = streams::Recorded();
  const streams::FullVisionMatch match;
  std::vector<std::string> texts;
  const std::string full = streams::RecordedVisionMessage();
  for (size_t len = 0; len <= full.size(); len += 7) texts.push_back(full.substr(0, len));
  std::mt19937 rng(20261206);
  for (int n = 0; n < 3000; ++n) {
    texts.push_back(streams::Mutate(n % 2 ? recorded[1 + n % (recorded.size() - 1)] : match.Message(n), rng));
  }
  // Huge texts of one character, or of one keyword without its data.
  for (char c : {'(', ')', ' ', '0', 'P', '\0', '\xff'}) texts.emplace_back(80 * 1024, c);
  for (const std::string k : {"(hear ", "(P (team ", "B (pol", "(L "}) {
    std::string t;
    while (t.size() < 80 * 1024) t += k;
    texts.push_back(t + "(See");
  }
  Message m(1, "Alpha");
  CommonInformation sightings;
  TestAgent agent(7, "Alpha", true);
  int seen = 0;
  for (size_t i = 0; i < texts.size(); ++i) {
    SCOPED_TRACE(i);
    seen += ParseEverything(m, sightings, texts[i]);
    const std::string answer = agent.Run(texts[i]);
    int commands = 0;
    for (size_t p = answer.find("(he1 "); p != std::string::npos; p = answer.find('(', p + 1)) {
      if (answer.compare(p, 6, "(syn)") != 0) ++commands;
    }
    ASSERT_EQ(commands, 22) << answer;
    ASSERT_EQ(answer.find("nan"), std::string::npos) << answer;
    ASSERT_EQ(answer.find("inf"), std::string::npos) << answer;
    if (HasFailure()) return;
  }
  EXPECT_GT(seen, 3000);  // the mutations leave most sightings readable
  // The complete text still parses as usual after all the damaged ones.
  m.SetMessage(full);
  EXPECT_EQ(m.ParsePlayMode(), "BeforeKickOff");
  EXPECT_TRUE(m.ParseFrp('L').existence);
}

// Every form of number a peer might send gives strtod's value bit for bit
// (0 where that is not finite), and keyword search finds what find finds.
TEST(RandomInputTest, NumbersAndKeywordsReadAsTheLibraryReadsThem) {
  std::mt19937 rng(11);
  const char kChars[] = "0123456789.-+eE";
  Message m(1, "Alpha");
  for (int round = 0; round < 4000; ++round) {
    std::string num;
    for (int i = 0, n = 1 + static_cast<int>(rng() % 24); i < n; ++i) {
      num += rng() % 4 != 0 ? kChars[rng() % 10] : kChars[10 + rng() % 5];
    }
    m.SetMessage("(HJ (n hj1) (ax " + num + "))");
    const double want = std::strtod(num.c_str(), nullptr);
    const double expected = std::isfinite(want) ? want : 0.0;
    const double got = m.ParseJoint("hj1");
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
