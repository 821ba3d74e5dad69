#include "LoopbackServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <stdexcept>

namespace {

bool WaitReadable(int fd, int timeout_ms) {
  pollfd p{fd, POLLIN, 0};
  int rc;
  do {
    rc = ::poll(&p, 1, timeout_ms);
  } while (rc < 0 && errno == EINTR);
  return rc == 1;
}

int BoundLoopbackSocket() {
  const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
  if (fd < 0) throw std::runtime_error("socket failed");
  sockaddr_in sa;
  std::memset(&sa, 0, sizeof(sa));
  sa.sin_family = AF_INET;
  sa.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  sa.sin_port = 0;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&sa), sizeof(sa)) < 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  return fd;
}

int PortOf(int fd) {
  sockaddr_in sa;
  socklen_t len = sizeof(sa);
  ::getsockname(fd, reinterpret_cast<sockaddr*>(&sa), &len);
  return ntohs(sa.sin_port);
}

}  // namespace

LoopbackServer::LoopbackServer(Script script) {
  listen_fd_ = BoundLoopbackSocket();
  if (::listen(listen_fd_, 1) < 0) {
    ::close(listen_fd_);
    throw std::runtime_error("listen failed");
  }
  port_ = PortOf(listen_fd_);
  thread_ = std::thread([this, script]() {
    // A client that never comes must not hang the test.
    if (!WaitReadable(listen_fd_, 5000)) return;
    int fd = ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0) return;
    int one = 1;
    ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
    script(fd);
    if (fd >= 0) ::close(fd);
  });
}

LoopbackServer::~LoopbackServer() {
  Join();
  ::close(listen_fd_);
}

void LoopbackServer::Join() {
  if (thread_.joinable()) thread_.join();
}

std::string LoopbackServer::Header(unsigned long length) {
  std::string h(4, '\0');
  h[0] = static_cast<char>((length >> 24) & 0xff);
  h[1] = static_cast<char>((length >> 16) & 0xff);
  h[2] = static_cast<char>((length >> 8) & 0xff);
  h[3] = static_cast<char>(length & 0xff);
  return h;
}

std::string LoopbackServer::Frame(const std::string& payload) {
  return Header(payload.size()) + payload;
}

bool LoopbackServer::SendAll(int fd, const std::string& bytes) {
  std::size_t sent = 0;
  while (sent < bytes.size()) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

bool LoopbackServer::ReadExact(int fd, std::size_t n, std::string& out, int timeout_ms) {
  out.clear();
  char buf[4096];
  while (out.size() < n) {
    if (!WaitReadable(fd, timeout_ms)) return false;
    const std::size_t want = std::min(sizeof(buf), n - out.size());
    const ssize_t got = ::recv(fd, buf, want, 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) return false;
    out.append(buf, static_cast<std::size_t>(got));
  }
  return true;
}

bool LoopbackServer::ReadFrame(int fd, std::string& payload, int timeout_ms) {
  std::string header;
  if (!ReadExact(fd, 4, header, timeout_ms)) return false;
  const unsigned long length =
      (static_cast<unsigned long>(static_cast<unsigned char>(header[0])) << 24) |
      (static_cast<unsigned long>(static_cast<unsigned char>(header[1])) << 16) |
      (static_cast<unsigned long>(static_cast<unsigned char>(header[2])) << 8) |
      static_cast<unsigned long>(static_cast<unsigned char>(header[3]));
  return ReadExact(fd, length, payload, timeout_ms);
}

std::string LoopbackServer::ReadUntilClosed(int fd, int timeout_ms) {
  std::string all;
  char buf[4096];
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        end - std::chrono::steady_clock::now()).count();
    if (left <= 0 || !WaitReadable(fd, static_cast<int>(left))) break;
    const ssize_t got = ::recv(fd, buf, sizeof(buf), 0);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0) break;
    all.append(buf, static_cast<std::size_t>(got));
  }
  return all;
}

void LoopbackServer::Reset(int& fd) {
  linger lg;
  lg.l_onoff = 1;
  lg.l_linger = 0;
  ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &lg, sizeof(lg));
  ::close(fd);
  fd = -1;
}

void LoopbackServer::Pause(int ms) {
  std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

int LoopbackServer::ClosedPort() {
  const int fd = BoundLoopbackSocket();
  const int port = PortOf(fd);
  ::close(fd);
  return port;
}
