#ifndef VEKTORLING_TESTS_SUPPORT_LOOPBACKSERVER_H
#define VEKTORLING_TESTS_SUPPORT_LOOPBACKSERVER_H

#include <netinet/tcp.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <stdexcept>
#include <thread>

#include "Framing.h"
#include "LoopbackSocket.h"

// A scripted stand-in for the simulation server: listens on 127.0.0.1 with
// a port chosen by the system, accepts clients one after the other in its own
// thread (one unless told more) and runs the script on each accepted
// descriptor, closed afterwards unless the script set it to -1. Every wait is
// bounded.
class LoopbackServer {
 public:
  using Script = std::function<void(int& fd)>;
  // The script of the index-th connection (from 0).
  using Scripts = std::function<void(int& fd, int index)>;

  explicit LoopbackServer(Script script)
      : LoopbackServer(1, [script](int& fd, int) { script(fd); }) {}
  LoopbackServer(int clients, Scripts script) : listen_fd_(BoundSocket(port_)) {
    if (::listen(listen_fd_, clients) < 0) throw std::runtime_error("listen failed");
    thread_ = std::thread([this, clients, script]() {
      for (int i = 0; i < clients; ++i) {
        // A client that never comes must not hang the test.
        int fd = framing::WaitReadable(listen_fd_, 5000)
                     ? ::accept4(listen_fd_, nullptr, nullptr, SOCK_CLOEXEC)
                     : -1;
        if (fd < 0) return;
        int one = 1;
        ::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &one, sizeof(one));
        script(fd, i);
        if (fd >= 0) ::close(fd);
      }
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
  // A TCP socket bound to a free loopback port.
  static int BoundSocket(int& port) { return BoundLoopbackSocket(SOCK_STREAM, port); }

  int port_;
  int listen_fd_;
  std::thread thread_;
};

#endif
