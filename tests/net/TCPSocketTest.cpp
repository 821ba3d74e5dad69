#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "../support/LoopbackServer.h"
#include "net/Addr.h"
#include "net/ConnectError.h"
#include "net/ResolveError.h"
#include "net/TCPSocket.h"

namespace {

TEST(AddrTest, NamesResolveAndBadHostsOrPortsThrow) {
  EXPECT_EQ(0x0a010203u, net::Addr(3200, std::string("10.1.2.3")).getHost());
  EXPECT_EQ("127.0.0.1", net::Addr(65535, std::string("localhost")).getHostString());
  // Refused by the resolver without a lookup; callers that only know
  // connection failures catch it as one.
  EXPECT_THROW(net::Addr(3100, std::string("999.1.1.1")), net::ConnectError);
  EXPECT_THROW(net::Addr(65536, std::string("127.0.0.1")), net::ResolveError);
  EXPECT_THROW(net::Addr(-1, 0u), net::ResolveError);
}

TEST(TCPSocketTest, EmptyReadIsNotTheEndSendToAClosedPeerFailsWithoutSigpipeAndTheDataSentStaysReadable) {
  LoopbackServer server([](int& fd) { framing::SendAll(fd, "hi"); });  // then closes
  net::TCPSocket s;
  s.bind(net::Addr(0, 0u));
  s.connect(net::Addr(server.port(), 0x7f000001u));
  char buf[16];
  EXPECT_EQ(0, s.recv(buf, 0));
  EXPECT_TRUE(s.isConnected());
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
  errno = 0;
  EXPECT_EQ(-1, s.recv(buf, sizeof(buf), 0, net::TCPSocket::CHECK_CONNECTED));
  EXPECT_EQ(ENOTCONN, errno);
  std::string answer;
  for (ssize_t n; framing::WaitReadable(s.getFD()) && (n = s.recv(buf, sizeof(buf))) > 0;) {
    answer.append(buf, static_cast<std::size_t>(n));
  }
  EXPECT_EQ("hi", answer);
}

}  // namespace
