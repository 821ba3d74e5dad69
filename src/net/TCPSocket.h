#ifndef VEKTORLING_NET_TCPSOCKET_H
#define VEKTORLING_NET_TCPSOCKET_H

#include <sys/types.h>

#include <cstddef>

#include "net/Addr.h"

namespace net {

// A blocking IPv4 TCP client socket. The descriptor is opened by the first
// bind or connect and released by close, so one object can be used for
// several connections one after the other.
class TCPSocket {
 public:
  // How send and recv treat a socket that is no longer connected:
  // CHECK_NONE hands the call to the system as it is; CHECK_CONNECTED fails
  // at once with -1 and errno ENOTCONN.
  enum CheckingMode { CHECK_NONE = 0, CHECK_CONNECTED = 1 };

  TCPSocket();
  ~TCPSocket();
  TCPSocket(const TCPSocket&) = delete;
  TCPSocket& operator=(const TCPSocket&) = delete;

  // Throws BindError with the system's text on failure.
  void bind(const Addr& address);
  // Throws ConnectError with the system's text on failure.
  void connect(const Addr& address);

  // Sends all len bytes, looping over partial writes and interrupted calls.
  // Returns len, or -1 on error with errno kept. Never raises SIGPIPE.
  ssize_t send(const char* data, std::size_t len, int flags = 0,
               int checkingmode = CHECK_NONE);
  // One receive call: the number of bytes read, 0 at the end of the stream,
  // negative on error with errno kept. End of stream and hard errors mark
  // the socket as no longer connected; EINTR and EAGAIN do not.
  ssize_t recv(char* buf, std::size_t len, int flags = 0,
               int checkingmode = CHECK_NONE);

  // True from a successful connect until the peer closes, a hard error
  // occurs or close is called.
  bool isConnected() const { return connected_; }
  // The descriptor, -1 while none is open.
  int getFD() const { return fd_; }
  void close();

 private:
  // Opens the descriptor if none is open; returns 0 or the errno value.
  int Open();

  int fd_;
  bool connected_;
};

}  // namespace net

#endif
