#include <pthread.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>
#include <string>

#include "../net/LoopbackServer.h"
#include "main/Sim3D.h"
#include "net/Addr.h"

namespace {

class Sim3DConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Sim3D::ResetSettings();
  }
  void TearDown() override { Sim3D::ResetSettings(); }

  static void ConnectTo(const LoopbackServer& server) {
    Sim3D::gPort_ = server.port();
    ASSERT_TRUE(Sim3D::Init());
  }
};

// Connects to a server running script and reads one message; for death tests.
void GetOneMessageFrom(LoopbackServer::Script script) {
  LoopbackServer server(script);
  Sim3D::gPort_ = server.port();
  if (Sim3D::Init()) Sim3D::GetMessage();
}

TEST_F(Sim3DConnectionTest, HeaderInPiecesAndPayloadOverSeveralWrites) {
  LoopbackServer server([](int& fd) {
    const std::string frame = LoopbackServer::Frame("(time (now 0.48))(GS (t 0.00))");
    LoopbackServer::SendAll(fd, frame.substr(0, 1));
    LoopbackServer::Pause(20);
    LoopbackServer::SendAll(fd, frame.substr(1, 3));
    LoopbackServer::Pause(20);
    LoopbackServer::SendAll(fd, frame.substr(4, 5));
    LoopbackServer::Pause(20);
    LoopbackServer::SendAll(fd, frame.substr(9, 10));
    LoopbackServer::Pause(20);
    LoopbackServer::SendAll(fd, frame.substr(19));
  });
  ConnectTo(server);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(time (now 0.48))(GS (t 0.00))", Sim3D::gMsg_);
  EXPECT_TRUE(Sim3D::main_loop_);
}

TEST_F(Sim3DConnectionTest, TwoFramesInOneWriteStayApart) {
  LoopbackServer server([](int& fd) {
    LoopbackServer::SendAll(fd, LoopbackServer::Frame("(first)") +
                                    LoopbackServer::Frame("(second one)") +
                                    LoopbackServer::Frame("3"));
  });
  ConnectTo(server);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(first)", Sim3D::gMsg_);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(second one)", Sim3D::gMsg_);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("3", Sim3D::gMsg_);
}

TEST_F(Sim3DConnectionTest, ZeroLengthFrameGivesEmptyMessage) {
  LoopbackServer server([](int& fd) {
    LoopbackServer::SendAll(fd, LoopbackServer::Frame("") + LoopbackServer::Frame("(next)"));
  });
  ConnectTo(server);
  Sim3D::gMsg_ = "stale";
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("", Sim3D::gMsg_);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(next)", Sim3D::gMsg_);
}

TEST_F(Sim3DConnectionTest, PayloadIsCutAtZeroByteButFrameIsConsumed) {
  LoopbackServer server([](int& fd) {
    LoopbackServer::SendAll(fd, LoopbackServer::Frame(std::string("(abc)\0(hidden)", 14)) +
                                    LoopbackServer::Frame("(after)"));
  });
  ConnectTo(server);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(abc)", Sim3D::gMsg_);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(after)", Sim3D::gMsg_);
}

TEST_F(Sim3DConnectionTest, LargestFrameIsAccepted) {
  std::string big(81915, 'x');
  big.front() = '(';
  big.back() = ')';
  LoopbackServer server([&](int& fd) {
    LoopbackServer::SendAll(fd, LoopbackServer::Frame(big) + LoopbackServer::Frame("(small)"));
  });
  ConnectTo(server);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ(big.size(), Sim3D::gMsg_.size());
  EXPECT_TRUE(big == Sim3D::gMsg_);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(small)", Sim3D::gMsg_);
}

TEST_F(Sim3DConnectionTest, OversizedFrameAborts) {
  EXPECT_DEATH(GetOneMessageFrom([](int& fd) {
                 LoopbackServer::SendAll(fd, LoopbackServer::Frame(std::string(81916, 'x')));
                 LoopbackServer::ReadUntilClosed(fd);
               }),
               "message too long; aborting");
  // A length no buffer could hold is refused from the header alone.
  EXPECT_DEATH(GetOneMessageFrom([](int& fd) {
                 LoopbackServer::SendAll(fd, LoopbackServer::Header(0xffffffffUL));
                 LoopbackServer::ReadUntilClosed(fd);
               }),
               "message too long; aborting");
}

TEST_F(Sim3DConnectionTest, SilentServerAbortsAfterTimeout) {
  Sim3D::gSelectTimeoutSec_ = 1;
  EXPECT_DEATH(GetOneMessageFrom([](int& fd) { LoopbackServer::ReadUntilClosed(fd, 4000); }),
               "\\(SelectInput\\) select failed ");
}

TEST_F(Sim3DConnectionTest, SelectWithoutConnectionAborts) {
  EXPECT_DEATH(Sim3D::SelectInput(), "\\(SelectInput\\) select failed ");
}

TEST_F(Sim3DConnectionTest, InterruptedWaitIsResumed) {
  // A signal that arrives while waiting for data must not end the wait.
  struct sigaction action;
  std::memset(&action, 0, sizeof(action));
  action.sa_handler = [](int) {};
  struct sigaction previous;
  ASSERT_EQ(0, sigaction(SIGUSR1, &action, &previous));
  const pthread_t waiting = pthread_self();
  LoopbackServer server([waiting](int& fd) {
    LoopbackServer::Pause(100);
    pthread_kill(waiting, SIGUSR1);
    LoopbackServer::Pause(100);
    LoopbackServer::SendAll(fd, LoopbackServer::Frame("(late)"));
  });
  ConnectTo(server);
  EXPECT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(late)", Sim3D::gMsg_);
  server.Join();
  sigaction(SIGUSR1, &previous, nullptr);
}

TEST_F(Sim3DConnectionTest, ServerClosingEndsTheLoop) {
  LoopbackServer server([](int& fd) { LoopbackServer::SendAll(fd, LoopbackServer::Frame("(one)")); });
  ConnectTo(server);
  ASSERT_TRUE(Sim3D::GetMessage());
  EXPECT_TRUE(Sim3D::main_loop_);
  EXPECT_FALSE(Sim3D::GetMessage());
  EXPECT_FALSE(Sim3D::main_loop_);
  EXPECT_EQ("(one)", Sim3D::gMsg_);
}

TEST_F(Sim3DConnectionTest, ServerClosingInsideAFrameEndsTheLoop) {
  LoopbackServer server([](int& fd) {
    LoopbackServer::SendAll(fd, LoopbackServer::Header(10) + "(abc");
  });
  ConnectTo(server);
  EXPECT_FALSE(Sim3D::GetMessage());
  EXPECT_FALSE(Sim3D::main_loop_);
}

TEST_F(Sim3DConnectionTest, ResetConnectionEndsTheLoop) {
  LoopbackServer server([](int& fd) {
    LoopbackServer::SendAll(fd, LoopbackServer::Header(10) + "(ab");
    LoopbackServer::Pause(50);
    LoopbackServer::Reset(fd);
  });
  ConnectTo(server);
  EXPECT_FALSE(Sim3D::GetMessage());
  EXPECT_FALSE(Sim3D::main_loop_);
  EXPECT_FALSE(Sim3D::gSocket_.isConnected());
}

TEST_F(Sim3DConnectionTest, PutMessageFramesWithBigEndianLength) {
  std::string raw;
  LoopbackServer server([&](int& fd) { raw = LoopbackServer::ReadUntilClosed(fd); });
  ConnectTo(server);
  const std::string long_msg(258, 'a');  // length 0x00000102
  Sim3D::PutMessage("(syn)");
  Sim3D::PutMessage("");  // sends nothing at all
  Sim3D::PutMessage(long_msg);
  Sim3D::gSocket_.close();
  server.Join();
  const std::string expected = std::string("\0\0\0\x05(syn)", 9) +
                               std::string("\0\0\x01\x02", 4) + long_msg;
  EXPECT_EQ(expected.size(), raw.size());
  EXPECT_TRUE(expected == raw);
}

TEST_F(Sim3DConnectionTest, DoneClosesAndSaysSo) {
  LoopbackServer server([](int& fd) { LoopbackServer::ReadUntilClosed(fd); });
  ConnectTo(server);
  ::testing::internal::CaptureStdout();
  Sim3D::Done();
  EXPECT_EQ("closed connection to 127.0.0.1:" + std::to_string(server.port()) + "\n",
            ::testing::internal::GetCapturedStdout());
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
}

TEST_F(Sim3DConnectionTest, InitFailsForClosedPort) {
  Sim3D::gPort_ = LoopbackServer::ClosedPort();
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Sim3D::Init());
  EXPECT_EQ("connection failed with: '" + std::string(std::strerror(ECONNREFUSED)) + "'\n",
            ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
}

TEST_F(Sim3DConnectionTest, InitFailsForUnresolvableHost) {
  Sim3D::gHost_ = "999.1.1.1";  // refused by the resolver without a lookup
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Sim3D::Init());
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_EQ(0u, err.find("connection failed with: '")) << err;
  EXPECT_GT(err.size(), std::string("connection failed with: ''\n").size()) << err;
  EXPECT_EQ("'\n", err.substr(err.size() - 2));
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
}

TEST_F(Sim3DConnectionTest, InitReportsBindFailure) {
  Sim3D::gSocket_.bind(net::Addr(0, 0u));  // a socket cannot be bound twice
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Sim3D::Init());
  EXPECT_EQ("failed to bind socket with '" + std::string(std::strerror(EINVAL)) + "'\n",
            ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
}

}  // namespace
