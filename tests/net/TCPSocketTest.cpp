#include <netinet/in.h>
#include <poll.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>

#include "LoopbackServer.h"
#include "net/Addr.h"
#include "net/BindError.h"
#include "net/ConnectError.h"
#include "net/TCPSocket.h"

namespace {

net::Addr Loopback(int port) { return net::Addr(port, 0x7f000001u); }

bool WaitReadable(int fd, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  return ::poll(&p, 1, timeout_ms) == 1;
}

}  // namespace

TEST(TCPSocketTest, FreshSocketHasNoDescriptor) {
  net::TCPSocket s;
  EXPECT_EQ(-1, s.getFD());
  EXPECT_FALSE(s.isConnected());
  char c = 'x';
  errno = 0;
  EXPECT_LT(s.recv(&c, 1), 0);
  EXPECT_EQ(EBADF, errno);
  errno = 0;
  EXPECT_LT(s.send(&c, 1), 0);
  EXPECT_EQ(EBADF, errno);
}

TEST(TCPSocketTest, ConnectExchangeAndEndOfStream) {
  std::string got;
  LoopbackServer server([&](int& fd) {
    LoopbackServer::ReadExact(fd, 5, got);
    LoopbackServer::SendAll(fd, "world");
  });
  net::TCPSocket s;
  s.bind(net::Addr(0, static_cast<std::uint32_t>(INADDR_ANY)));
  s.connect(Loopback(server.port()));
  EXPECT_TRUE(s.isConnected());
  EXPECT_GE(s.getFD(), 0);
  EXPECT_EQ(5, s.send("hello", 5));

  std::string answer;
  char buf[16];
  while (answer.size() < 5) {
    ASSERT_TRUE(WaitReadable(s.getFD(), 3000));
    const ssize_t n = s.recv(buf, sizeof(buf));
    ASSERT_GT(n, 0);
    answer.append(buf, static_cast<std::size_t>(n));
  }
  EXPECT_EQ("world", answer);
  server.Join();
  EXPECT_EQ("hello", got);

  // The server has closed: the next read is the end of the stream.
  EXPECT_TRUE(s.isConnected());
  ASSERT_TRUE(WaitReadable(s.getFD(), 3000));
  EXPECT_EQ(0, s.recv(buf, sizeof(buf)));
  EXPECT_FALSE(s.isConnected());
  // Asking for a check makes a later call fail at once.
  errno = 0;
  EXPECT_EQ(-1, s.recv(buf, sizeof(buf), 0, net::TCPSocket::CHECK_CONNECTED));
  EXPECT_EQ(ENOTCONN, errno);
}

TEST(TCPSocketTest, ZeroLengthReadIsNotEndOfStream) {
  LoopbackServer server([](int& fd) { LoopbackServer::ReadUntilClosed(fd); });
  net::TCPSocket s;
  s.connect(Loopback(server.port()));
  char c;
  EXPECT_EQ(0, s.recv(&c, 0));
  EXPECT_TRUE(s.isConnected());
  s.close();
}

TEST(TCPSocketTest, LargeSendArrivesWhole) {
  // Far more than the socket buffers hold, read slowly by the server, so
  // the data cannot leave in one piece.
  std::string data(4 * 1024 * 1024, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>(i * 7 + i / 251);
  std::string received;
  LoopbackServer server([&](int& fd) {
    LoopbackServer::Pause(50);
    LoopbackServer::ReadExact(fd, data.size(), received);
  });
  net::TCPSocket s;
  s.connect(Loopback(server.port()));
  EXPECT_EQ(static_cast<ssize_t>(data.size()), s.send(data.data(), data.size()));
  server.Join();
  EXPECT_TRUE(received == data) << "received " << received.size() << " bytes";
}

TEST(TCPSocketTest, SendToClosedPeerFailsWithoutSigpipe) {
  LoopbackServer server([](int&) {});  // closes at once
  net::TCPSocket s;
  s.connect(Loopback(server.port()));
  server.Join();
  // The first sends may still be accepted; once the peer's reset is in,
  // sends fail. Without MSG_NOSIGNAL the failing sends would kill the test
  // process with SIGPIPE.
  int failures = 0;
  for (int i = 0; i < 100 && failures < 3; ++i) {
    if (s.send("data", 4) < 0) {
      EXPECT_TRUE(errno == EPIPE || errno == ECONNRESET) << std::strerror(errno);
      ++failures;
    } else {
      LoopbackServer::Pause(5);
    }
  }
  EXPECT_EQ(3, failures);
  EXPECT_FALSE(s.isConnected());
}

TEST(TCPSocketTest, ResetConnectionIsAHardError) {
  LoopbackServer server([](int& fd) { LoopbackServer::Reset(fd); });
  net::TCPSocket s;
  s.connect(Loopback(server.port()));
  server.Join();
  ASSERT_TRUE(WaitReadable(s.getFD(), 3000));
  char buf[8];
  errno = 0;
  EXPECT_EQ(-1, s.recv(buf, sizeof(buf)));
  EXPECT_EQ(ECONNRESET, errno);
  EXPECT_FALSE(s.isConnected());
}

TEST(TCPSocketTest, ConnectToClosedPortThrowsWithSystemText) {
  net::TCPSocket s;
  try {
    s.connect(Loopback(LoopbackServer::ClosedPort()));
    FAIL() << "connected to a closed port";
  } catch (const net::ConnectError& e) {
    EXPECT_STREQ(std::strerror(ECONNREFUSED), e.what());
  }
  EXPECT_FALSE(s.isConnected());
}

TEST(TCPSocketTest, BindFailuresThrowWithSystemText) {
  LoopbackServer server([](int&) {});
  net::TCPSocket s;
  try {
    s.bind(Loopback(server.port()));  // the server listens there
    FAIL() << "bound to a port in use";
  } catch (const net::BindError& e) {
    EXPECT_STREQ(std::strerror(EADDRINUSE), e.what());
  }
  s.close();
  s.bind(net::Addr(0, 0u));
  EXPECT_THROW(s.bind(net::Addr(0, 0u)), net::BindError);  // bound already
  s.close();
  // Let the server's accept wait end.
  net::TCPSocket client;
  client.connect(Loopback(server.port()));
}
