#ifndef VEKTORLING_NET_UDPSOCKET_H
#define VEKTORLING_NET_UDPSOCKET_H

#include <cstddef>

#include "net/Addr.h"

namespace net {

// A non-blocking IPv4 UDP socket with a fixed peer. Sending never waits:
// a datagram the system cannot take at once is reported, not retried.
class UDPSocket {
 public:
  UDPSocket() = default;
  ~UDPSocket();
  UDPSocket(const UDPSocket&) = delete;
  UDPSocket& operator=(const UDPSocket&) = delete;

  // Opens the socket and makes `to` its peer; 0, or the errno value with
  // the socket closed again.
  int Connect(const Addr& to);
  // One datagram to the peer in one system call: 0, or the errno value
  // (EBADF without a socket, EAGAIN when the send queue is full,
  // ECONNREFUSED after the peer's port was found closed, ...).
  int Send(const char* data, std::size_t len);
  void Close();

 private:
  int fd_ = -1;
};

}  // namespace net

#endif
