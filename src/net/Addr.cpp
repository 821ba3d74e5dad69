#include "net/Addr.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <cstring>

#include "net/ResolveError.h"

namespace net {

namespace {

void CheckPort(int port) {
  if (port < 0 || port > 65535) {
    throw ResolveError("invalid port " + std::to_string(port));
  }
}

}  // namespace

Addr::Addr(int port, std::uint32_t host) {
  CheckPort(port);
  std::memset(&addr_, 0, sizeof(addr_));
  addr_.sin_family = AF_INET;
  addr_.sin_port = htons(static_cast<std::uint16_t>(port));
  addr_.sin_addr.s_addr = htonl(host);
}

Addr::Addr(int port, const std::string& host) {
  CheckPort(port);
  addrinfo hints;
  std::memset(&hints, 0, sizeof(hints));
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int rc = ::getaddrinfo(host.c_str(), nullptr, &hints, &found);
  if (rc != 0 || found == nullptr) {
    if (found != nullptr) ::freeaddrinfo(found);
    throw ResolveError(rc != 0 ? ::gai_strerror(rc) : "no address found");
  }
  std::memcpy(&addr_, found->ai_addr, sizeof(addr_));
  ::freeaddrinfo(found);
  addr_.sin_port = htons(static_cast<std::uint16_t>(port));
}

int Addr::getPort() const { return ntohs(addr_.sin_port); }

std::uint32_t Addr::getHost() const { return ntohl(addr_.sin_addr.s_addr); }

std::string Addr::getHostString() const {
  char text[INET_ADDRSTRLEN] = {0};
  ::inet_ntop(AF_INET, &addr_.sin_addr, text, sizeof(text));
  return text;
}

}  // namespace net
