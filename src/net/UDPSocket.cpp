#include "net/UDPSocket.h"

#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>

namespace net {

UDPSocket::~UDPSocket() { Close(); }

int UDPSocket::Connect(const Addr& to) {
  Close();
  fd_ = ::socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return errno;
  // A connected socket hears of a closed port (ICMP) on a later send and
  // skips the route lookup on every send.
  const sockaddr_in& sa = to.getSockAddr();
  if (::connect(fd_, reinterpret_cast<const sockaddr*>(&sa), sizeof(sa)) < 0) {
    const int err = errno;
    Close();
    return err;
  }
  return 0;
}

int UDPSocket::Send(const char* data, std::size_t len) {
  if (fd_ < 0) return EBADF;
  for (;;) {
    if (::sendto(fd_, data, len, MSG_DONTWAIT | MSG_NOSIGNAL, nullptr, 0) >= 0) return 0;
    if (errno != EINTR) return errno;
  }
}

void UDPSocket::Close() {
  if (fd_ >= 0) ::close(fd_);
  fd_ = -1;
}

}  // namespace net
