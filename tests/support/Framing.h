#ifndef VEKTORLING_TESTS_SUPPORT_FRAMING_H
#define VEKTORLING_TESTS_SUPPORT_FRAMING_H

// The wire framing of both directions (a 4-byte big-endian length, then the
// text) and bounded reads and writes of it on a socket descriptor.

#include <arpa/inet.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <string>

namespace framing {

inline std::string Header(unsigned long length) {
  const uint32_t n = htonl(static_cast<uint32_t>(length));
  return std::string(reinterpret_cast<const char*>(&n), 4);
}

inline std::string Frame(const std::string& payload) { return Header(payload.size()) + payload; }

inline bool WaitReadable(int fd, int timeout_ms = 3000) {
  pollfd p{fd, POLLIN, 0};
  int rc;
  while ((rc = ::poll(&p, 1, timeout_ms)) < 0 && errno == EINTR) {
  }
  return rc == 1;
}

inline bool SendAll(int fd, const std::string& bytes) {
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0 && errno != EINTR) return false;
    sent += n > 0 ? static_cast<std::size_t>(n) : 0;
  }
  return true;
}

inline bool ReadExact(int fd, std::size_t n, std::string& out) {
  out.assign(n, '\0');
  for (std::size_t got = 0; got < n;) {
    const ssize_t r = WaitReadable(fd) ? ::recv(fd, &out[got], n - got, 0) : 0;
    if (r == 0 || (r < 0 && errno != EINTR)) return false;
    got += r > 0 ? static_cast<std::size_t>(r) : 0;
  }
  return true;
}

inline bool ReadFrame(int fd, std::string& payload) {
  std::string header;
  uint32_t n;
  if (!ReadExact(fd, 4, header)) return false;
  std::memcpy(&n, header.data(), 4);
  return ReadExact(fd, ntohl(n), payload);
}

// Everything the peer sends until it closes (or is silent for timeout_ms).
inline std::string ReadUntilClosed(int fd, int timeout_ms = 3000) {
  std::string all;
  char buf[4096];
  for (ssize_t got; WaitReadable(fd, timeout_ms) && (got = ::recv(fd, buf, sizeof(buf), 0)) != 0;) {
    if (got < 0 && errno != EINTR) break;
    all.append(buf, got > 0 ? static_cast<std::size_t>(got) : 0);
  }
  return all;
}

}  // namespace framing

#endif
