#include "net/TCPSocket.h"

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "net/BindError.h"
#include "net/ConnectError.h"

namespace net {

namespace {

bool IsTransient(int err) {
  return err == EINTR || err == EAGAIN || err == EWOULDBLOCK;
}

// A connect interrupted by a signal goes on in the background; wait for its
// outcome and return 0 or the errno value it ended with.
int FinishInterruptedConnect(int fd) {
  pollfd p;
  p.fd = fd;
  p.events = POLLOUT;
  p.revents = 0;
  int rc;
  do {
    rc = ::poll(&p, 1, -1);
  } while (rc < 0 && errno == EINTR);
  if (rc < 0) return errno;
  int err = 0;
  socklen_t len = sizeof(err);
  if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &err, &len) < 0) return errno;
  return err;
}

}  // namespace

TCPSocket::TCPSocket() : fd_(-1), connected_(false) {}

TCPSocket::~TCPSocket() { close(); }

int TCPSocket::Open() {
  if (fd_ >= 0) return 0;
  fd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  return fd_ < 0 ? errno : 0;
}

void TCPSocket::bind(const Addr& address) {
  const int err = Open();
  if (err != 0) throw BindError(std::strerror(err));
  const sockaddr_in& sa = address.getSockAddr();
  if (::bind(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof(sa)) < 0) {
    throw BindError(std::strerror(errno));
  }
}

void TCPSocket::connect(const Addr& address) {
  int err = Open();
  if (err != 0) throw ConnectError(std::strerror(err));
  const sockaddr_in& sa = address.getSockAddr();
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof(sa)) < 0) {
    err = errno;
    if (err == EINTR) err = FinishInterruptedConnect(fd_);
    if (err != 0) throw ConnectError(std::strerror(err));
  }
  connected_ = true;
}

ssize_t TCPSocket::send(const char* data, std::size_t len, int flags,
                        int checkingmode) {
  if (fd_ < 0) {
    errno = EBADF;
    return -1;
  }
  if (checkingmode == CHECK_CONNECTED && !connected_) {
    errno = ENOTCONN;
    return -1;
  }
  std::size_t sent = 0;
  while (sent < len) {
    const ssize_t n = ::send(fd_, data + sent, len - sent, flags | MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      if (errno == EAGAIN || errno == EWOULDBLOCK) {
        // Only with MSG_DONTWAIT or a non-blocking descriptor: wait for room.
        pollfd p;
        p.fd = fd_;
        p.events = POLLOUT;
        p.revents = 0;
        ::poll(&p, 1, -1);
        continue;
      }
      const int err = errno;
      if (err == EPIPE || err == ECONNRESET || err == ENOTCONN) connected_ = false;
      errno = err;
      return -1;
    }
    sent += static_cast<std::size_t>(n);
  }
  return static_cast<ssize_t>(sent);
}

ssize_t TCPSocket::recv(char* buf, std::size_t len, int flags,
                        int checkingmode) {
  if (fd_ < 0) {
    errno = EBADF;
    return -1;
  }
  if (checkingmode == CHECK_CONNECTED && !connected_) {
    errno = ENOTCONN;
    return -1;
  }
  // A zero-byte read would return 0 without meaning the end of the stream.
  if (len == 0) return 0;
  const ssize_t n = ::recv(fd_, buf, len, flags);
  if (n == 0) {
    connected_ = false;
  } else if (n < 0 && !IsTransient(errno)) {
    const int err = errno;
    connected_ = false;
    errno = err;
  }
  return n;
}

void TCPSocket::close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
  connected_ = false;
}

}  // namespace net
