#include <netinet/in.h>

#include <gtest/gtest.h>

#include "net/Addr.h"
#include "net/ConnectError.h"
#include "net/ResolveError.h"

TEST(AddrTest, FromHostValue) {
  const net::Addr any(0, static_cast<std::uint32_t>(INADDR_ANY));
  EXPECT_EQ(0, any.getPort());
  EXPECT_EQ("0.0.0.0", any.getHostString());
  const net::Addr a(3100, 0x7f000001u);
  EXPECT_EQ(3100, a.getPort());
  EXPECT_EQ("127.0.0.1", a.getHostString());
  // Stored in network byte order for the system calls.
  EXPECT_EQ(AF_INET, a.getSockAddr().sin_family);
  EXPECT_EQ(htons(3100), a.getSockAddr().sin_port);
  EXPECT_EQ(htonl(0x7f000001u), a.getSockAddr().sin_addr.s_addr);
}

TEST(AddrTest, FromDottedAndNamedHost) {
  const net::Addr dotted(3200, std::string("10.1.2.3"));
  EXPECT_EQ(0x0a010203u, dotted.getHost());
  EXPECT_EQ(3200, dotted.getPort());
  const net::Addr named(3100, std::string("localhost"));
  EXPECT_EQ("127.0.0.1", named.getHostString());
  EXPECT_EQ(3100, named.getPort());
}

TEST(AddrTest, UnresolvableHostThrowsWithResolverText) {
  // Not a valid dotted address, refused by the resolver without a lookup.
  try {
    net::Addr a(3100, std::string("999.1.1.1"));
    FAIL() << "resolved to " << a.getHostString();
  } catch (const net::ResolveError& e) {
    EXPECT_STRNE("", e.what());
  }
  // Callers that only know connection failures catch it as one.
  EXPECT_THROW(net::Addr(3100, std::string("999.1.1.1")), net::ConnectError);
}

TEST(AddrTest, PortOutsideTcpRangeIsRejected) {
  EXPECT_THROW(net::Addr(65536, std::string("127.0.0.1")), net::ResolveError);
  EXPECT_THROW(net::Addr(-1, 0u), net::ResolveError);
  EXPECT_EQ(65535, net::Addr(65535, 0u).getPort());
}
