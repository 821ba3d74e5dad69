// The practice field's building blocks below the server loop: the command
// line, the check of received texts, and the limits of one connection (the
// server tests send frames in pieces and joined).

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

#include "../support/LoopbackServer.h"
#include "Connection.h"
#include "Expression.h"
#include "FieldOptions.h"
#include "SceneRobotType.h"

namespace {

bool Parse(std::vector<const char*> args, FieldOptions* options, std::string* error) {
  args.insert(args.begin(), "vektorling-sim");
  return ParseFieldOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(FieldOptionsTest, ValuesAfterEqualsOrAsNextArgumentAndBadOnesRefused) {
  FieldOptions options;
  std::string error;
  ASSERT_TRUE(
      Parse({"--port=0", "--trainer-port", "3999", "--sync", "--pushes", "4", "--duration", "60", "--players=22"},
            &options, &error))
      << error;
  EXPECT_EQ(std::make_tuple(0, 3999, true, 60.0, 4, 22), std::make_tuple(options.port, options.trainer_port, options.sync,
                                                                       options.duration, options.pushes, options.players));
  for (const std::vector<const char*>& bad : std::vector<std::vector<const char*>>{
           {"--port=70000"}, {"--port", "31x"}, {"--port=-1"}, {"--port"}, {"--seed=-3"}, {"--duration=0"},
           {"--duration=nan"}, {"--kickoff-after=-1"}, {"--trace="}, {"--sync=1"}, {"--frobnicate"}, {"stray"},
           {"--pushes=-1"}, {"--pushes=2"},  // pushes need a duration to spread over
           {"--sync", "--players=23"}, {"--players=2"}}) {  // only synchronous mode waits for players
    SCOPED_TRACE(bad[0]);
    FieldOptions fresh;
    EXPECT_FALSE(Parse(bad, &fresh, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(std::string::npos, error.find('\n')) << error;
    error.clear();
  }
}

TEST(FieldExpressionTest, WellFormedOrSaysWhy) {
  const std::pair<std::string, bool> cases[] = {
      {"(scene rsg/agent/nao/nao_hetero.rsg 0)", true}, {"(he1 0.50)(he2 -1.2) (syn)\n", true}, {"", true},
      {"((()))", true}, {"(syn", false}, {"(syn))", false}, {")(", false}, {"hello", false}, {"(a) b", false},
      {std::string("(a\0b)", 5), false}, {"(caf\xc3\xa9)", false}, {"(a)\x7f", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::string reason;
    EXPECT_EQ(c.second, Expression::IsWellFormed(c.first, &reason));
    EXPECT_EQ(c.second, reason.empty());
  }
}

TEST(FieldExpressionTest, FindsListsAtomsAndSynByWholeHead) {
  std::string list, atom;
  ASSERT_TRUE(Expression::FindList("(scene x 0)(init (unum 7)(teamname Beta-2))", "init", &list));
  EXPECT_EQ("(init (unum 7)(teamname Beta-2))", list);
  ASSERT_TRUE(Expression::FindAtom(list, "teamname", &atom));
  EXPECT_EQ("Beta-2", atom);
  EXPECT_FALSE(Expression::FindList("(initial 1)", "init", &list));
  EXPECT_FALSE(Expression::FindAtom("(teamname )", "teamname", &atom));
  EXPECT_TRUE(Expression::HasSyn("(he1 0.1)( syn )"));
  EXPECT_FALSE(Expression::HasSyn("(synthetic 1)"));
  EXPECT_EQ(std::vector<std::string>({"(playMode PlayOn)", "(ball (pos 1 2 0))"}),
            Expression::TopLevelLists("(playMode PlayOn) (ball (pos 1 2 0))"));
}

TEST(FieldSceneTest, RobotTypeFromTheNaoScenesOnly) {
  const std::pair<std::string, int> cases[] = {
      {"(scene rsg/agent/nao/nao_hetero.rsg 0)", 0}, {"( scene\trsg/agent/nao/nao_hetero.rsg 4 )", 4}, {"(scene rsg/agent/nao/nao.rsg)", 0},
      {"(scene rsg/agent/nao/nao_hetero.rsg 7)", -1}, {"(scene rsg/agent/nao/nao_hetero.rsg -1)", -1},
      {"(scene rsg/agent/nao/nao_hetero.rsg 1.0)", -1}, {"(scene rsg/agent/nao/nao_hetero.rsg)", -1},
      {"(scene rsg/agent/nao/nao_hetero.rsg 1 2)", -1}, {"(scene rsg/agent/nao/nao.rsg 2)", -1},
      {"(scene rsg/agent/soccerbot058/soccerbot.rsg)", -1}, {"(scene rsg/agent/nao/nao_hetero.rsg.bak 1)", -1},
      {"(scene)", -1}, {"(scene (rsg/agent/nao/nao.rsg))", -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.first);
    std::string reason;
    EXPECT_EQ(c.second, SceneRobotType(c.first, &reason));
    EXPECT_EQ(c.second < 0, reason.find("nao_hetero.rsg with a robot type from 0 to 4") != std::string::npos) << reason;
  }
}

// A connection on one end of a socket pair; the test writes the other end.
class FieldConnectionTest : public ::testing::Test {
protected:
  void SetUp() override {
    int fds[2];
    ASSERT_EQ(0, socketpair(AF_UNIX, SOCK_STREAM, 0, fds));
    connection_ = std::make_unique<Connection>(fds[0], 1);
    peer_ = fds[1];
  }
  void TearDown() override {
    if (peer_ >= 0) close(peer_);
  }
  void Write(const std::string& bytes) { ASSERT_EQ(ssize_t(bytes.size()), write(peer_, bytes.data(), bytes.size())); }
  Connection::FrameResult Next() { return connection_->NextFrame(&text_, &reason_); }

  std::unique_ptr<Connection> connection_;
  int peer_ = -1;
  std::string text_, reason_;
};

TEST_F(FieldConnectionTest, LongestFrameAcceptedOneMoreRefusedFromItsHeader) {
  const std::string longest(Connection::kMaxFrame, 'x');
  std::thread writer([&] { Write(framing::Frame(longest)); });
  while (Next() == Connection::FrameResult::kNone) {
    ASSERT_NE(Connection::ReadResult::kError, connection_->Receive(&reason_));
  }
  writer.join();
  EXPECT_EQ(longest, text_);
  Write(framing::Frame(longest + "x").substr(0, 4));
  connection_->Receive(&reason_);
  EXPECT_EQ(Connection::FrameResult::kTooLong, Next());
  EXPECT_NE(std::string::npos, reason_.find(std::to_string(Connection::kMaxFrame + 1))) << reason_;
}

TEST_F(FieldConnectionTest, GivesUpOnAClientThatDoesNotRead) {
  const std::string message(64 * 1024, 'm');
  bool ok = true;
  for (std::size_t sent = 0; ok && sent < 2 * Connection::kMaxUnsent; sent += message.size()) {
    ok = connection_->Send(message, &reason_);
  }
  EXPECT_FALSE(ok);
  EXPECT_FALSE(reason_.empty());
}

}  // namespace
