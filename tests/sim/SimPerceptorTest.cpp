#include "Perceptor.h"

#include <cstdio>
#include <limits>
#include <random>

#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "World.h"

namespace {

std::string Printf2(double v) {
  char buf[64];
  std::snprintf(buf, sizeof buf, "%.2f", v);
  return buf;
}

std::string Fixed2(double v) {
  std::string s;
  Perceptor::AppendNumber(s, v);
  return s;
}

TEST(SimPerceptorTest, NumbersAreWrittenAsPrintfWritesThem) {
  const double values[] = {0.0,    -0.0,   0.004, -0.004, 0.005,   -0.006,   0.125,    0.375,
                           -0.625, 1.005,  22.59, -33.93, 46.37,   9.81,     -9.81,    99.995,
                           0.1,    -0.1,   1e-9,  -1e-9,  1234.5678, -98765.4321, 6.1395, 351.77};
  for (double v : values) EXPECT_EQ(Fixed2(v), Printf2(v)) << v;
  EXPECT_EQ(Fixed2(-0.001), "-0.00");  // the real server's "-0.00"
  EXPECT_EQ(Fixed2(1e20), Printf2(1e20));

  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-2000.0, 2000.0);
  int differ = 0;
  for (int i = 0; i < 20000; ++i) {
    const double v = u(rng) / (1 + i % 7);
    if (Fixed2(v) != Printf2(v)) ++differ;
  }
  EXPECT_EQ(differ, 0);
}

TEST(SimPerceptorTest, NonFiniteNumbersDoNotLeakIntoTheText) {
  EXPECT_EQ(Fixed2(std::numeric_limits<double>::quiet_NaN()), "0.00");
  EXPECT_EQ(Fixed2(std::numeric_limits<double>::infinity()), "0.00");
}

TEST(SimPerceptorTest, PiecesHaveTheServerSpelling) {
  std::string s;
  Perceptor::AppendGameState(s, 7, 'R', 1, 2, 12.345, "PlayOn");
  EXPECT_EQ(s, "(GS (unum 7) (team right) (sl 1) (sr 2) (t " + Printf2(12.345) + ") (pm PlayOn))");
  s.clear();
  Perceptor::AppendGameState(s, 0, 'L', 0, 0, 0.0, "BeforeKickOff");
  EXPECT_EQ(s, "(GS (sl 0) (sr 0) (t 0.00) (pm BeforeKickOff))");
  s.clear();
  Perceptor::AppendHear(s, "Beta", 0.0, false, 0.6, "xyz");
  Perceptor::AppendHear(s, "Alpha", 3.5, true, 99.0, "abc");
  EXPECT_EQ(s, "(hear Beta 0.00 0.60 xyz)(hear Alpha 3.50 self abc)");
  s.clear();
  Perceptor::AppendInertial(s, Eigen::Vector3d(-0.04, 0, 0), Eigen::Vector3d(0, -0.06, 46.37));
  EXPECT_EQ(s, "(GYR (n torso) (rt -0.04 0.00 0.00))(ACC (n torso) (a 0.00 -0.06 46.37))");
}

// Runs a registered robot until a message carries vision and, if wanted,
// foot sensors.
std::string MessageWith(World& w, int id, bool vision, bool feet) {
  for (int i = 0; i < 30; ++i) {
    w.Step();
    const std::string m = w.Perceive(id);
    const bool has_see = m.find("(See") != std::string::npos;
    const bool has_frp = m.find("(FRP") != std::string::npos;
    if (has_see == vision && has_frp == feet) return m;
  }
  return "";
}

TEST(SimPerceptorTest, ExpressionOrderMatchesTheRecordedServer) {
  const std::vector<std::string> recorded = simtest::RecordedLines();
  ASSERT_GE(recorded.size(), 7u);
  WorldConfig config;
  config.noise = false;
  World w(config);
  const int id = w.CreateRobot();
  w.Perceive(id);
  std::string error;
  ASSERT_TRUE(w.InitRobot(id, "Alpha", 1, &error)) << error;
  w.Perceive(id);

  // Line 7: vision and both foot sensors.
  const std::string full = MessageWith(w, id, true, true);
  ASSERT_FALSE(full.empty());
  EXPECT_EQ(simtest::Heads(full), simtest::Heads(recorded[6]));
  // Line 2: neither vision nor foot sensors (the body still in the air).
  World w2(config);
  const int id2 = w2.CreateRobot();
  w2.Perceive(id2);
  const std::string bare = w2.Perceive(id2);
  EXPECT_EQ(simtest::Heads(bare), simtest::Heads(recorded[1]));
  // Line 9: foot sensors, no vision.
  const std::string feet = MessageWith(w, id, false, true);
  EXPECT_EQ(simtest::Heads(feet), simtest::Heads(recorded[8]));
}

TEST(SimPerceptorTest, NumberAndSideComeOnceInTheSecondMessageAfterInit) {
  const std::vector<std::string> recorded = simtest::RecordedLines();
  ASSERT_GE(recorded.size(), 4u);
  World w(WorldConfig{});
  const int id = w.CreateRobot();
  const std::string scene_answer = w.Perceive(id);
  EXPECT_NE(scene_answer.find("(See"), std::string::npos);  // the first message sees
  std::string error;
  ASSERT_TRUE(w.InitRobot(id, "Alpha", 1, &error));
  const std::string first = w.Perceive(id);
  EXPECT_EQ(first.find("(unum"), std::string::npos);
  w.Step();
  const std::string second = w.Perceive(id);
  EXPECT_EQ(simtest::Expression(second, "GS"), simtest::Expression(recorded[2], "GS"));
  for (int i = 0; i < 5; ++i) {
    w.Step();
    EXPECT_EQ(w.Perceive(id).find("(unum"), std::string::npos);
  }
}

TEST(SimPerceptorTest, VisionComesEveryThirdMessage) {
  World w(WorldConfig{});
  const int id = w.CreateRobot();
  std::string error;
  std::vector<bool> seen;
  seen.push_back(w.Perceive(id).find("(See") != std::string::npos);
  ASSERT_TRUE(w.InitRobot(id, "Alpha", 0, &error));
  for (int i = 0; i < 9; ++i) {
    seen.push_back(w.Perceive(id).find("(See") != std::string::npos);
    w.Step();
  }
  const std::vector<bool> expected = {true, false, false, true, false, false, true, false, false, true};
  EXPECT_EQ(seen, expected);
}

}  // namespace
