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

std::optional<Addr> ParseHostPort(const std::string& text, int default_port, std::string* error) {
  const std::size_t colon = text.find(':');
  const std::string host = text.substr(0, colon);
  int port = default_port;
  if (colon != std::string::npos) {
    const std::string digits = text.substr(colon + 1);
    port = digits.empty() ? -1 : 0;
    for (std::size_t i = 0; i < digits.size() && port >= 0 && port <= 65535; ++i) {
      const char c = digits[i];
      port = (c >= '0' && c <= '9') ? port * 10 + (c - '0') : -1;
    }
  }
  if (host.empty()) {
    *error = "no host";
    return std::nullopt;
  }
  if (port < 1 || port > 65535) {
    *error = "the port must be a number from 1 to 65535";
    return std::nullopt;
  }
  try {
    return Addr(port, host);
  } catch (const ResolveError& e) {
    *error = e.what();
    return std::nullopt;
  }
}

std::string Addr::getHostString() const {
  char text[INET_ADDRSTRLEN] = {0};
  ::inet_ntop(AF_INET, &addr_.sin_addr, text, sizeof(text));
  return text;
}

}  // namespace net
