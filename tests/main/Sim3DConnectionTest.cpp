#include <pthread.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>
#include <utility>

#include "../support/LoopbackServer.h"
#include "main/Sim3D.h"
#include "net/Addr.h"

namespace {

using LS = LoopbackServer;

class Sim3DConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Sim3D::ResetSettings();
  }
  void TearDown() override { Sim3D::ResetSettings(); }
};

bool ConnectTo(const LS& server) {
  Sim3D::gPort_ = server.port();
  return Sim3D::Init();
}

// Connects to a server running script and reads one message; for death tests.
void GetOneMessageFrom(LS::Script script) {
  LS server(script);
  if (ConnectTo(server)) Sim3D::GetMessage();
}

TEST_F(Sim3DConnectionTest, FramesAreAssembledKeptApartAndCutAtZeroByte) {
  std::string big(81915, 'x');  // the largest frame the buffer holds
  big.front() = '(';
  // Sent payload and the message it gives.
  const std::pair<std::string, std::string> kFrames[] = {
      {"(time (now 0.48))(GS (t 0.00))", "(time (now 0.48))(GS (t 0.00))"},
      {"", ""},
      {std::string("(abc)\0(hidden)", 14), "(abc)"},
      {big, big},
      {"3", "3"}};
  std::string stream;
  for (const auto& f : kFrames) stream += framing::Frame(f.first);
  // The header of the first frame comes as 1 + 3 bytes, its payload in three
  // pieces, the rest of the stream with its end in one write.
  LS server([&](int& fd) {
    std::size_t from = 0;
    for (std::size_t to : {1, 4, 9, 19}) {
      framing::SendAll(fd, stream.substr(from, to - from));
      LS::Pause(20);
      from = to;
    }
    framing::SendAll(fd, stream.substr(from));
  });
  ASSERT_TRUE(ConnectTo(server));
  Sim3D::gMsg_ = "stale";
  for (const auto& f : kFrames) {
    SCOPED_TRACE(f.second.substr(0, 40));
    ASSERT_TRUE(Sim3D::GetMessage());
    EXPECT_TRUE(f.second == Sim3D::gMsg_) << Sim3D::gMsg_.size();
    EXPECT_TRUE(Sim3D::main_loop_);
  }
  // Then the server closes: the loop ends, the last message stays.
  EXPECT_FALSE(Sim3D::GetMessage());
  EXPECT_FALSE(Sim3D::main_loop_);
  EXPECT_EQ("3", Sim3D::gMsg_);
}

// (Leaving between frames: FramesAreAssembledKeptApartAndCutAtZeroByte.)
TEST_F(Sim3DConnectionTest, ServerLeavingInsideAFrameEndsTheLoop) {
  const struct {
    std::string bytes;
    bool reset;
  } kCases[] = {{framing::Header(10).substr(0, 2), false},
                {framing::Header(10) + "(abc", false},
                {framing::Header(10) + "(ab", true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.bytes.size());
    Sim3D::ResetSettings();
    LS server([&](int& fd) {
      framing::SendAll(fd, c.bytes);
      if (!c.reset) return;
      LS::Pause(50);
      LS::Reset(fd);
    });
    ASSERT_TRUE(ConnectTo(server));
    EXPECT_FALSE(Sim3D::GetMessage());
    EXPECT_FALSE(Sim3D::main_loop_);
  }
}

TEST_F(Sim3DConnectionTest, OversizedFrameOrSilenceAborts) {
  // A length no buffer could hold is refused from the header alone.
  for (unsigned long length : {81916ul, 0xfffffffful}) {
    EXPECT_DEATH(GetOneMessageFrom([=](int& fd) {
                   framing::SendAll(fd, framing::Header(length));
                   framing::ReadUntilClosed(fd);
                 }),
                 "message too long; aborting");
  }
  EXPECT_DEATH(Sim3D::SelectInput(), "\\(SelectInput\\) select failed ");  // no connection
  Sim3D::gSelectTimeoutSec_ = 1;
  EXPECT_DEATH(GetOneMessageFrom([](int& fd) { framing::ReadUntilClosed(fd, 4000); }),
               "\\(SelectInput\\) select failed ");
}

TEST_F(Sim3DConnectionTest, InterruptedWaitIsResumed) {
  struct sigaction action, previous;
  std::memset(&action, 0, sizeof(action));
  action.sa_handler = [](int) {};
  ASSERT_EQ(0, sigaction(SIGUSR1, &action, &previous));
  const pthread_t waiting = pthread_self();
  LS server([waiting](int& fd) {
    LS::Pause(100);
    pthread_kill(waiting, SIGUSR1);
    LS::Pause(100);
    framing::SendAll(fd, framing::Frame("(late)"));
  });
  ASSERT_TRUE(ConnectTo(server));
  EXPECT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(late)", Sim3D::gMsg_);
  server.Join();
  sigaction(SIGUSR1, &previous, nullptr);
}

TEST_F(Sim3DConnectionTest, PutMessageFramesBigEndianAndDoneSaysSo) {
  std::string raw;
  LS server([&](int& fd) { raw = framing::ReadUntilClosed(fd); });
  ASSERT_TRUE(ConnectTo(server));
  const std::string long_msg(258, 'a');  // length 0x00000102
  Sim3D::PutMessage("(syn)");
  Sim3D::PutMessage("");  // sends nothing at all
  Sim3D::PutMessage(long_msg);
  ::testing::internal::CaptureStdout();
  Sim3D::Done();
  EXPECT_EQ("closed connection to 127.0.0.1:" + std::to_string(server.port()) + "\n",
            ::testing::internal::GetCapturedStdout());
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
  server.Join();
  EXPECT_TRUE(std::string("\0\0\0\x05(syn)\0\0\x01\x02", 13) + long_msg == raw) << raw.size();
}

// The refused connection's message and exit status: PlayerProcessTest.
TEST_F(Sim3DConnectionTest, InitReportsABindFailureAndClosesTheSocket) {
  Sim3D::gPort_ = LS::ClosedPort();
  Sim3D::gSocket_.bind(net::Addr(0, 0u));  // a socket cannot be bound twice
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Sim3D::Init());
  EXPECT_EQ("failed to bind socket with '" + std::string(std::strerror(EINVAL)) + "'\n",
            ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
}

}  // namespace
