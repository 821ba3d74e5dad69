#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "../support/LoopbackServer.h"
#include "net/Addr.h"
#include "net/TCPSocket.h"

namespace {

// Binds s to any local address and connects it to the server.
void Connect(net::TCPSocket& s, const LoopbackServer& server) {
  s.bind(net::Addr(0, 0u));
  s.connect(net::Addr(server.port(), 0x7f000001u));
}

TEST(TCPSocketTest, EmptyReadIsNotTheEndOfTheStream) {
  LoopbackServer server([](int& fd) { framing::SendAll(fd, "hi"); });
  net::TCPSocket s;
  Connect(s, server);
  char buf[16];
  EXPECT_EQ(0, s.recv(buf, 0));
  EXPECT_TRUE(s.isConnected());
  server.Join();  // the server has sent and closed
  std::string answer;
  for (ssize_t n; framing::WaitReadable(s.getFD()) && (n = s.recv(buf, sizeof(buf))) > 0;) {
    answer.append(buf, static_cast<std::size_t>(n));
  }
  EXPECT_EQ("hi", answer);
  EXPECT_FALSE(s.isConnected());
  errno = 0;
  EXPECT_EQ(-1, s.recv(buf, sizeof(buf), 0, net::TCPSocket::CHECK_CONNECTED));
  EXPECT_EQ(ENOTCONN, errno);
}

TEST(TCPSocketTest, SendToClosedPeerFailsWithoutSigpipe) {
  LoopbackServer server([](int&) {});  // closes at once
  net::TCPSocket s;
  Connect(s, server);
  server.Join();
  // Once the peer's reset is in, sends fail; without MSG_NOSIGNAL they would
  // kill the test process with SIGPIPE.
  int failures = 0;
  for (int i = 0; i < 100 && failures < 3; ++i) {
    if (s.send("data", 4) < 0) {
      EXPECT_TRUE(errno == EPIPE || errno == ECONNRESET) << std::strerror(errno);
      ++failures;
    }
    LoopbackServer::Pause(5);
  }
  EXPECT_EQ(3, failures);
  EXPECT_FALSE(s.isConnected());
}

}  // namespace
