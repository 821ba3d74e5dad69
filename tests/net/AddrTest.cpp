#include <gtest/gtest.h>

#include "net/Addr.h"
#include "net/ConnectError.h"
#include "net/ResolveError.h"

TEST(AddrTest, NamesResolveAndBadHostsOrPortsThrow) {
  EXPECT_EQ(0x0a010203u, net::Addr(3200, std::string("10.1.2.3")).getHost());
  EXPECT_EQ("127.0.0.1", net::Addr(65535, std::string("localhost")).getHostString());
  // Refused by the resolver without a lookup; callers that only know
  // connection failures catch it as one.
  EXPECT_THROW(net::Addr(3100, std::string("999.1.1.1")), net::ConnectError);
  EXPECT_THROW(net::Addr(65536, std::string("127.0.0.1")), net::ResolveError);
  EXPECT_THROW(net::Addr(-1, 0u), net::ResolveError);
}
