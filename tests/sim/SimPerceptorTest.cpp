#include "Perceptor.h"

#include <fstream>

#include <gtest/gtest.h>

#include "SimTestSupport.h"
#include "World.h"

namespace {

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
