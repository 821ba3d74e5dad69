// The practice field's building blocks below the server loop: the command
// line, the check of received texts, and the framing of one connection.

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <thread>
#include <string>
#include <vector>

#include <sys/socket.h>
#include <unistd.h>

#include "Connection.h"
#include "Expression.h"
#include "FieldOptions.h"

namespace {

bool Parse(std::vector<const char*> args, FieldOptions* options, std::string* error) {
  args.insert(args.begin(), "vektorling-sim");
  return ParseFieldOptions(static_cast<int>(args.size()), args.data(), options, error);
}

TEST(FieldOptionsTest, DefaultsMatchTheRealServerPorts) {
  FieldOptions options;
  std::string error;
  ASSERT_TRUE(Parse({}, &options, &error));
  EXPECT_EQ(3100, options.port);
  EXPECT_EQ(3200, options.trainer_port);
  EXPECT_FALSE(options.sync);
  EXPECT_TRUE(options.noise);
  EXPECT_LT(options.duration, 0);
  EXPECT_LT(options.kickoff_after, 0);
}

TEST(FieldOptionsTest, ValuesAfterEqualsOrAsNextArgument) {
  FieldOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--port=0", "--trainer-port", "3999", "--sync", "--seed", "42", "--no-noise",
                     "--kickoff-after=2.5", "--duration", "60", "--trace=out/t.jsonl", "--svg", "f.svg",
                     "--progress", "--quiet"},
                    &options, &error))
      << error;
  EXPECT_EQ(0, options.port);
  EXPECT_EQ(3999, options.trainer_port);
  EXPECT_TRUE(options.sync);
  EXPECT_EQ(42u, options.seed);
  EXPECT_FALSE(options.noise);
  EXPECT_DOUBLE_EQ(2.5, options.kickoff_after);
  EXPECT_DOUBLE_EQ(60, options.duration);
  EXPECT_EQ("out/t.jsonl", options.trace_file);
  EXPECT_EQ("f.svg", options.svg_file);
  EXPECT_TRUE(options.progress && options.quiet);

  const WorldConfig config = options.ToWorldConfig();
  EXPECT_EQ(42u, config.seed);
  EXPECT_FALSE(config.noise);
  EXPECT_DOUBLE_EQ(2.5, config.kickoff_after);
  EXPECT_DOUBLE_EQ(60, config.duration);
}

TEST(FieldOptionsTest, BadArgumentsGiveOneLineReason) {
  const std::vector<std::vector<const char*>> bad = {
      {"--port=70000"},  {"--port", "31x"},        {"--port=-1"},        {"--port"},
      {"--seed=-3"},     {"--duration=0"},         {"--duration", "abc"}, {"--kickoff-after=-1"},
      {"--trace="},      {"--sync=1"},             {"--frobnicate"},     {"stray"},
      {"--duration=nan"}};
  for (const auto& args : bad) {
    FieldOptions options;
    std::string error;
    EXPECT_FALSE(Parse(args, &options, &error)) << args[0];
    EXPECT_FALSE(error.empty()) << args[0];
    EXPECT_EQ(std::string::npos, error.find('\n')) << error;
  }
}

TEST(FieldOptionsTest, HelpIsFlaggedAndUsageNamesEveryOption) {
  FieldOptions options;
  std::string error;
  ASSERT_TRUE(Parse({"--help"}, &options, &error));
  EXPECT_TRUE(options.help);
  const std::string usage = FieldUsage();
  for (const char* name : {"--port", "--trainer-port", "--sync", "--seed", "--no-noise", "--kickoff-after",
                           "--duration", "--trace", "--svg", "--progress", "--quiet", "--help"}) {
    EXPECT_NE(std::string::npos, usage.find(name)) << name;
  }
}

TEST(FieldExpressionTest, WellFormedTexts) {
  std::string reason;
  EXPECT_TRUE(Expression::IsWellFormed("(scene rsg/agent/nao/nao_hetero.rsg 0)", &reason));
  EXPECT_TRUE(Expression::IsWellFormed("(he1 0.50)(he2 -1.2) (syn)\n", &reason));
  EXPECT_TRUE(Expression::IsWellFormed("(init (unum 3)(teamname Alpha))", &reason));
  EXPECT_TRUE(Expression::IsWellFormed("", &reason));
  EXPECT_TRUE(Expression::IsWellFormed("((()))", &reason));
}

TEST(FieldExpressionTest, MalformedTextsSayWhy) {
  const std::vector<std::string> bad = {"(syn",         "(syn))",        ")(",        "hello",
                                        "(a) b",        std::string("(a\0b)", 5), "(caf\xc3\xa9)",
                                        "(a)\x7f",      "(a\x01)"};
  for (const std::string& text : bad) {
    std::string reason;
    EXPECT_FALSE(Expression::IsWellFormed(text, &reason)) << text;
    EXPECT_FALSE(reason.empty()) << text;
  }
}

TEST(FieldExpressionTest, FindsListsAndAtomsByHead) {
  const std::string init = "(scene x 0)(init (unum 7)(teamname Beta-2))";
  std::string list, atom;
  ASSERT_TRUE(Expression::FindList(init, "init", &list));
  EXPECT_EQ("(init (unum 7)(teamname Beta-2))", list);
  ASSERT_TRUE(Expression::FindAtom(list, "unum", &atom));
  EXPECT_EQ("7", atom);
  ASSERT_TRUE(Expression::FindAtom(list, "teamname", &atom));
  EXPECT_EQ("Beta-2", atom);
  // A head must be a whole atom: "(initial" is not "(init".
  EXPECT_FALSE(Expression::FindList("(initial 1)", "init", &list));
  EXPECT_FALSE(Expression::FindAtom("(unum)", "unum", &atom));
  EXPECT_FALSE(Expression::FindAtom("(teamname )", "teamname", &atom));
}

TEST(FieldExpressionTest, SynAndTopLevelLists) {
  EXPECT_TRUE(Expression::HasSyn("(he1 0.1)(syn)"));
  EXPECT_TRUE(Expression::HasSyn("(he1 0.1)( syn )"));
  EXPECT_FALSE(Expression::HasSyn("(he1 0.1)"));
  EXPECT_FALSE(Expression::HasSyn("(synthetic 1)"));
  const std::vector<std::string> lists = Expression::TopLevelLists("(playMode PlayOn) (ball (pos 1 2 0))");
  ASSERT_EQ(2u, lists.size());
  EXPECT_EQ("(playMode PlayOn)", lists[0]);
  EXPECT_EQ("(ball (pos 1 2 0))", lists[1]);
}

std::string Frame(const std::string& text) {
  const std::uint32_t n = static_cast<std::uint32_t>(text.size());
  std::string frame = {char(n >> 24), char(n >> 16), char(n >> 8), char(n)};
  return frame + text;
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

  std::unique_ptr<Connection> connection_;
  int peer_ = -1;
};

TEST_F(FieldConnectionTest, AssemblesFramesFromPiecesAndSplitsJoinedOnes) {
  const std::string first = Frame("(scene a 0)");
  std::string text, reason;
  Write(first.substr(0, 1));
  EXPECT_EQ(Connection::ReadResult::kOk, connection_->Receive(&reason));
  EXPECT_EQ(Connection::FrameResult::kNone, connection_->NextFrame(&text, &reason));
  Write(first.substr(1, 5));
  connection_->Receive(&reason);
  EXPECT_EQ(Connection::FrameResult::kNone, connection_->NextFrame(&text, &reason));
  // The rest of the first frame, an empty frame and a third in one write.
  Write(first.substr(6) + Frame("") + Frame("(syn)"));
  connection_->Receive(&reason);
  ASSERT_EQ(Connection::FrameResult::kFrame, connection_->NextFrame(&text, &reason));
  EXPECT_EQ("(scene a 0)", text);
  ASSERT_EQ(Connection::FrameResult::kFrame, connection_->NextFrame(&text, &reason));
  EXPECT_EQ("", text);
  ASSERT_EQ(Connection::FrameResult::kFrame, connection_->NextFrame(&text, &reason));
  EXPECT_EQ("(syn)", text);
  EXPECT_EQ(Connection::FrameResult::kNone, connection_->NextFrame(&text, &reason));
  EXPECT_FALSE(connection_->MidFrame());
}

TEST_F(FieldConnectionTest, LongestFrameAcceptedOneMoreRefusedFromItsHeader) {
  std::string text, reason;
  const std::string longest(Connection::kMaxFrame, 'x');
  std::thread writer([&] { Write(Frame(longest)); });
  while (connection_->NextFrame(&text, &reason) == Connection::FrameResult::kNone) {
    ASSERT_NE(Connection::ReadResult::kError, connection_->Receive(&reason));
  }
  writer.join();
  EXPECT_EQ(longest.size(), text.size());

  const std::uint32_t n = Connection::kMaxFrame + 1;
  Write(std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)});
  connection_->Receive(&reason);
  EXPECT_EQ(Connection::FrameResult::kTooLong, connection_->NextFrame(&text, &reason));
  EXPECT_NE(std::string::npos, reason.find(std::to_string(n)));
}

TEST_F(FieldConnectionTest, PeerClosingMidFrameIsVisible) {
  std::string text, reason;
  Write(Frame("(syn)") + Frame("(he1 1.0)").substr(0, 6));
  close(peer_);
  peer_ = -1;
  Connection::ReadResult result = Connection::ReadResult::kOk;
  for (int i = 0; i < 10 && result == Connection::ReadResult::kOk; ++i) result = connection_->Receive(&reason);
  EXPECT_EQ(Connection::ReadResult::kClosed, result);
  ASSERT_EQ(Connection::FrameResult::kFrame, connection_->NextFrame(&text, &reason));
  EXPECT_EQ("(syn)", text);
  EXPECT_EQ(Connection::FrameResult::kNone, connection_->NextFrame(&text, &reason));
  EXPECT_TRUE(connection_->MidFrame());
}

TEST_F(FieldConnectionTest, SendFramesWithBigEndianLength) {
  std::string reason;
  const std::string text(300, 'a');  // length 0x012c: both low bytes used
  ASSERT_TRUE(connection_->Send(text, &reason));
  ASSERT_TRUE(connection_->Send("", &reason));
  char buffer[512];
  std::string got;
  while (got.size() < 4 + 300 + 4) {
    const ssize_t n = read(peer_, buffer, sizeof buffer);
    ASSERT_GT(n, 0);
    got.append(buffer, n);
  }
  EXPECT_EQ(std::string({0, 0, 1, 0x2c}), got.substr(0, 4));
  EXPECT_EQ(text, got.substr(4, 300));
  EXPECT_EQ(std::string(4, '\0'), got.substr(304));
}

TEST_F(FieldConnectionTest, ClientThatStopsReadingIsGivenUp) {
  std::string reason;
  const std::string message(64 * 1024, 'm');
  bool ok = true;
  for (std::size_t sent = 0; ok && sent < 2 * Connection::kMaxUnsent; sent += message.size()) {
    ok = connection_->Send(message, &reason);
  }
  EXPECT_FALSE(ok);
  EXPECT_FALSE(reason.empty());
}

}  // namespace
