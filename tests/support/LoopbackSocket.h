#ifndef VEKTORLING_TESTS_SUPPORT_LOOPBACKSOCKET_H
#define VEKTORLING_TESTS_SUPPORT_LOOPBACKSOCKET_H

#include <arpa/inet.h>
#include <sys/socket.h>

#include <stdexcept>

// A socket of the type (SOCK_STREAM, SOCK_DGRAM) bound to a free loopback
// port; port receives the port number. Throws when none can be had.
inline int BoundLoopbackSocket(int type, int& port) {
  const int fd = ::socket(AF_INET, type | SOCK_CLOEXEC, 0);
  sockaddr_in sa{};
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t len = sizeof(sa);
  if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&sa), len) < 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len) < 0) {
    throw std::runtime_error("cannot bind a loopback socket");
  }
  port = ntohs(sa.sin_port);
  return fd;
}

#endif
