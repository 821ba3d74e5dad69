#ifndef VEKTORLING_TESTS_NET_LOOPBACKSERVER_H
#define VEKTORLING_TESTS_NET_LOOPBACKSERVER_H

#include <functional>
#include <string>
#include <thread>

// A scripted stand-in for the simulation server: listens on 127.0.0.1 with
// a port chosen by the system, accepts one client in its own thread and runs
// the script on the accepted descriptor. The script may close the
// descriptor itself (and set it to -1); otherwise it is closed afterwards.
class LoopbackServer {
 public:
  using Script = std::function<void(int& fd)>;

  explicit LoopbackServer(Script script);
  ~LoopbackServer();
  LoopbackServer(const LoopbackServer&) = delete;
  LoopbackServer& operator=(const LoopbackServer&) = delete;

  int port() const { return port_; }
  // Waits for the script to finish.
  void Join();

  // Helpers for scripts; every wait is bounded by timeout_ms.
  static std::string Frame(const std::string& payload);
  static std::string Header(unsigned long length);
  static bool SendAll(int fd, const std::string& bytes);
  static bool ReadExact(int fd, std::size_t n, std::string& out, int timeout_ms = 3000);
  static bool ReadFrame(int fd, std::string& payload, int timeout_ms = 3000);
  // Everything the peer sends until it closes (or the time runs out).
  static std::string ReadUntilClosed(int fd, int timeout_ms = 3000);
  // Closes fd so that the peer sees a reset instead of an orderly close.
  static void Reset(int& fd);
  static void Pause(int ms);
  // A loopback port on which nobody listens.
  static int ClosedPort();

 private:
  int listen_fd_;
  int port_;
  std::thread thread_;
};

#endif
