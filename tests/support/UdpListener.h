#ifndef VEKTORLING_TESTS_SUPPORT_UDPLISTENER_H
#define VEKTORLING_TESTS_SUPPORT_UDPLISTENER_H

#include <unistd.h>

#include <string>
#include <vector>

#include "LoopbackSocket.h"

// A UDP socket on a free loopback port, as RoboViz listens for drawings.
// A datagram sent over loopback is queued by the time its send returns.
class UdpListener {
 public:
  UdpListener() : fd_(BoundLoopbackSocket(SOCK_DGRAM, port_)) {}
  ~UdpListener() { Close(); }
  int port() const { return port_; }
  void Close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
  }
  // Every datagram queued so far.
  std::vector<std::string> Take() {
    std::vector<std::string> datagrams;
    char buf[65536];
    for (ssize_t n; fd_ >= 0 && (n = ::recv(fd_, buf, sizeof buf, MSG_DONTWAIT)) >= 0;) datagrams.emplace_back(buf, n);
    return datagrams;
  }
  // A loopback UDP port on which nobody listens.
  static int ClosedPort() { return UdpListener().port(); }

 private:
  int port_ = 0;
  int fd_;
};

#endif
