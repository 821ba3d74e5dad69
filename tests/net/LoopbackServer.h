#ifndef VEKTORLING_TESTS_NET_LOOPBACKSERVER_H
#define VEKTORLING_TESTS_NET_LOOPBACKSERVER_H

#include <arpa/inet.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <string>
#include <thread>

// A scripted stand-in for the simulation server: listens on 127.0.0.1 with
// a port chosen by the system, accepts one client in its own thread and runs
// the script on the accepted descriptor, closed afterwards unless the script
// set it to -1. Every wait of the helpers is bounded.
class LoopbackServer {
 public:
  using Script = std::function<void(int& fd)>;

  explicit LoopbackServer(Script script) : listen_fd_(BoundSocket(port_)) {
    if (::listen(listen_fd_, 1) < 0) throw std::runtime_error("listen failed");
    thread_ = std::thread([this, script]() {
      // A client that never comes must not hang the test.
      int fd = WaitReadable(listen_fd_, 5000)
                   ? ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC)
                   : -1;
      if (fd < 0) return;
      int one = 1;
      ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
      script(fd);
      if (fd >= 0) ::close(fd);
    });
  }
  ~LoopbackServer() {
    Join();
    ::close(listen_fd_);
  }
  int port() const { return port_; }
  void Join() {  // waits for the script to finish
    if (thread_.joinable()) thread_.join();
  }

  static std::string Header(unsigned long length) {  // 4 bytes, big-endian
    const uint32_t n = htonl(static_cast<uint32_t>(length));
    return std::string(reinterpret_cast<const char*>(&n), 4);
  }
  static std::string Frame(const std::string& payload) { return Header(payload.size()) + payload; }
  static bool WaitReadable(int fd, int timeout_ms = 3000) {
    pollfd p{fd, POLLIN, 0};
    int rc;
    while ((rc = ::poll(&p, 1, timeout_ms)) < 0 && errno == EINTR) {
    }
    return rc == 1;
  }
  static bool SendAll(int fd, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
      const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
      if (n < 0 && errno != EINTR) return false;
      sent += n > 0 ? static_cast<std::size_t>(n) : 0;
    }
    return true;
  }
  static bool ReadExact(int fd, std::size_t n, std::string& out) {
    out.assign(n, '\0');
    for (std::size_t got = 0; got < n;) {
      const ssize_t r = WaitReadable(fd) ? ::recv(fd, &out[got], n - got, 0) : 0;
      if (r == 0 || (r < 0 && errno != EINTR)) return false;
      got += r > 0 ? static_cast<std::size_t>(r) : 0;
    }
    return true;
  }
  static bool ReadFrame(int fd, std::string& payload) {
    std::string header;
    uint32_t n;
    if (!ReadExact(fd, 4, header)) return false;
    std::memcpy(&n, header.data(), 4);
    return ReadExact(fd, ntohl(n), payload);
  }
  // Everything the peer sends until it closes (or is silent for timeout_ms).
  static std::string ReadUntilClosed(int fd, int timeout_ms = 3000) {
    std::string all;
    char buf[4096];
    for (ssize_t got;
         WaitReadable(fd, timeout_ms) && (got = ::recv(fd, buf, sizeof(buf), 0)) != 0;) {
      if (got < 0 && errno != EINTR) break;
      all.append(buf, got > 0 ? static_cast<std::size_t>(got) : 0);
    }
    return all;
  }
  // Closes fd so that the peer sees a reset instead of an orderly close.
  static void Reset(int& fd) {
    const linger lg{1, 0};
    ::setsockopt(fd, SOL_SOCKET, SO_LINGER, &lg, sizeof(lg));
    ::close(fd);
    fd = -1;
  }
  static void Pause(int ms) { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
  static int ClosedPort() {  // a loopback port on which nobody listens
    int port;
    ::close(BoundSocket(port));
    return port;
  }

 private:
  // A socket bound to a free loopback port; port receives the port number.
  static int BoundSocket(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
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

  int port_;
  int listen_fd_;
  std::thread thread_;
};

#endif
