#include "Perceptor.h"

#include <cmath>
#include <cstdio>
#include <fstream>
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
  const double values[] = {0.0,   -0.0,  0.004, -0.004, 0.005, -0.006, 0.125, 0.375, -0.625,    1.005,       22.59,
                           -9.81, 99.995, 0.1,  -1e-9,  1e20,  6.1395, 351.77, -0.001, 1234.5678, -98765.4321};
  for (double v : values) EXPECT_EQ(Fixed2(v), Printf2(v)) << v;
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> u(-2000.0, 2000.0);
  for (int i = 0; i < 20000; ++i) {
    const double v = u(rng) / (1 + i % 7);
    ASSERT_EQ(Fixed2(v), Printf2(v)) << v;
  }
  // No "nan" or "inf" in a message.
  std::string s;
  Perceptor::AppendInertial(s, Eigen::Vector3d(-0.04, 0, std::nan("")), Eigen::Vector3d(0, -0.06, HUGE_VAL));
  EXPECT_EQ(s, "(GYR (n torso) (rt -0.04 0.00 0.00))(ACC (n torso) (a 0.00 -0.06 0.00))");
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

TEST(SimPerceptorTest, MessagesFollowTheRecordedServer) {
  std::ifstream in(std::string(VEKTORLING_SOURCE_DIR) + "/tests/data/standing-player.txt");
  std::vector<std::string> recorded;
  for (std::string line; std::getline(in, line);) recorded.push_back(line);
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
