// What a robot perceives on the practice field: the message layout of the
// real server, and what a robot sees at a known pose.
#include "Perceptor.h"

#include <cmath>

#include <gtest/gtest.h>

#include "../support/ServerStreams.h"
#include "SimTestSupport.h"
#include "World.h"

namespace {

constexpr double kRad = M_PI / 180.0;

// Robot Alpha 1 at (-4, 0) facing +x on a noiseless field, the opponent
// Beta 1 mirrored to (4, 0) facing it, teammate Alpha 2 behind it at (-6, 0).
TEST(SimPerceptionTest, LandmarksBallAndPlayersAtAKnownPoseMatchHandComputedValues) {
  World w(simtest::Quiet());
  const std::vector<int> ids = {simtest::Join(w, "Alpha", 1), simtest::Join(w, "Beta", 1), simtest::Join(w, "Alpha", 2)};
  for (int i = 0; i < 3; ++i) w.ApplyCommands(ids[i], i < 2 ? "(beam -4 0 0)" : "(beam -6 0 0)");
  std::string m;
  for (int i = 0; i < 12 && (i < 4 || m.find("(See") == std::string::npos); ++i) {
    w.Step();
    for (int id : ids) {
      const std::string s = w.Perceive(id);
      if (id == ids[0]) m = s;
    }
  }
  // Camera: torso 0.405 m above the ground plus 0.155 m to the head.
  const struct {
    const char* key;
    double x, y, z;
    bool beta;  // a part of the opponent; facing us, its right foot is on our left
  } seen[] = {{"F1R", 15, 10, 0, false},    {"F2R", 15, -10, 0, false}, {"G1R", 15, 1.05, 0.8, false},
              {"G2R", 15, -1.05, 0.8, false}, {"B", 0, 0, 0.042, false},  {"head", 4, 0, 0.56, true},
              {"rfoot", 3.975, 0.055, 0, true}, {"lfoot", 3.975, -0.055, 0, true}};
  const std::string beta = simtest::Expression(m, "P (team Beta) (id 1)");
  for (const auto& s : seen) {
    SCOPED_TRACE(s.key);
    const double dx = s.x + 4.0, dy = s.y, dz = s.z - 0.56;
    double d, h, v;
    ASSERT_TRUE(simtest::Numbers(s.beta ? beta : m, s.key, "(pol %lf %lf %lf", &d, &h, &v)) << m;
    EXPECT_NEAR(d, std::sqrt(dx * dx + dy * dy + dz * dz), 0.006);
    EXPECT_NEAR(h, std::atan2(dy, dx) / kRad, 0.006);
    EXPECT_NEAR(v, std::atan2(dz, std::hypot(dx, dy)) / kRad, 0.006);
  }
  // The own goal is behind; the opponent's arms are seen.
  EXPECT_EQ(m.find("(F1L"), std::string::npos);
  EXPECT_EQ(m.find("(G1L"), std::string::npos);
  EXPECT_NE(beta.find("(rlowerarm"), std::string::npos);
  EXPECT_NE(beta.find("(llowerarm"), std::string::npos);
  // Its own lower arms, nothing else of itself; the teammate behind is not seen.
  const std::string self = simtest::Expression(m, "P (team Alpha) (id 1)");
  double d, h, v;
  ASSERT_TRUE(simtest::Numbers(self, "rlowerarm", "(pol %lf %lf %lf", &d, &h, &v)) << m;
  EXPECT_NEAR(d, 0.185, 0.01);
  EXPECT_LT(h, -30.0);
  ASSERT_TRUE(simtest::Numbers(self, "llowerarm", "(pol %lf %lf %lf", &d, &h, &v));
  EXPECT_GT(h, 30.0);
  EXPECT_EQ(self.find("(head"), std::string::npos);
  EXPECT_EQ(self.find("foot"), std::string::npos);
  EXPECT_EQ(m.find("(id 2)"), std::string::npos);
}

// Heads of the top-level expressions of a message; for joints and foot
// sensors with the name ("HJ hj1", "FRP rf").
std::vector<std::string> Heads(const std::string& msg) {
  std::vector<std::string> heads;
  int depth = 0;
  for (size_t i = 0; i < msg.size(); ++i) {
    if (msg[i] == '(' && depth++ == 0) {
      std::string head = msg.substr(i + 1, msg.find_first_of(" ()", i + 1) - i - 1);
      if (head == "HJ" || head == "FRP") {
        const size_t n = msg.find("(n ", i + 1);
        head += " " + msg.substr(n + 3, msg.find(')', n) - n - 3);
      }
      heads.push_back(head);
    } else if (msg[i] == ')') {
      --depth;
    }
  }
  return heads;
}

TEST(SimPerceptionTest, MessagesFollowTheRecordedServer) {
  const std::vector<std::string> recorded = streams::Recorded();
  ASSERT_GE(recorded.size(), 9u);
  World w(simtest::Quiet());
  const int id = w.CreateRobot();
  // Line 1 answers the scene command and sees; line 2, in the air, has
  // neither vision nor foot sensors.
  EXPECT_NE(w.Perceive(id).find("(See"), std::string::npos);
  std::string error;
  ASSERT_EQ(World::InitResult::kPlaced, w.InitRobot(id, "Alpha", 1, &error)) << error;
  const std::string bare = w.Perceive(id);
  EXPECT_EQ(Heads(bare), Heads(recorded[1]));
  // Number and side once, in the next message; vision in every third.
  std::vector<std::string> messages;
  for (int i = 0; i < 9; ++i) {
    w.Step();
    messages.push_back(w.Perceive(id));
    SCOPED_TRACE(messages.back());
    EXPECT_EQ(i == 0, messages.back().find("(unum") != std::string::npos);
    EXPECT_EQ(i % 3 == 1, messages.back().find("(See") != std::string::npos);
  }
  EXPECT_EQ(simtest::Expression(messages[0], "GS"), simtest::Expression(recorded[2], "GS"));
  // Landed: line 7 has vision and both feet, line 9 feet without vision.
  EXPECT_EQ(Heads(messages[7]), Heads(recorded[6]));
  EXPECT_EQ(Heads(messages[8]), Heads(recorded[8]));
}

}  // namespace
