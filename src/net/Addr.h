#ifndef VEKTORLING_NET_ADDR_H
#define VEKTORLING_NET_ADDR_H

#include <netinet/in.h>

#include <cstdint>
#include <optional>
#include <string>

namespace net {

// An IPv4 address and port, as handed to TCPSocket::bind and connect and to
// UDPSocket::Connect.
class Addr {
 public:
  // From a port and a 32-bit host value in host byte order (INADDR_ANY = 0
  // is any local address; port 0 lets the system choose one).
  Addr(int port, std::uint32_t host);
  // From a port and a host name or dotted address, resolved for IPv4.
  // Throws ResolveError when the name does not resolve or the port is not
  // a valid TCP port.
  Addr(int port, const std::string& host);

  int getPort() const;
  // Host in host byte order.
  std::uint32_t getHost() const;
  // Dotted form of the host, e.g. "127.0.0.1".
  std::string getHostString() const;

  const sockaddr_in& getSockAddr() const { return addr_; }

 private:
  sockaddr_in addr_;
};

// The address of "HOST" or "HOST:PORT" (HOST dotted or a name, resolved for
// IPv4; PORT decimal digits from 1 to 65535, default_port without one).
// Nothing, with the reason in *error, for an empty host, a bad port or a
// host that does not resolve.
std::optional<Addr> ParseHostPort(const std::string& text, int default_port, std::string* error);

}  // namespace net

#endif
