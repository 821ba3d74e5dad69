#include "MonitorClient.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>

namespace {

constexpr std::size_t kHeader = 4;
constexpr std::size_t kReadSize = 1 << 16;

std::uint32_t Length(const char* bytes) {
  const unsigned char* b = reinterpret_cast<const unsigned char*>(bytes);
  return (std::uint32_t{b[0]} << 24) | (std::uint32_t{b[1]} << 16) | (std::uint32_t{b[2]} << 8) | b[3];
}

}  // namespace

MonitorClient::~MonitorClient() {
  if (fd_ >= 0) ::close(fd_);
}

bool MonitorClient::Connect(const std::string& host, int port, std::string* error) {
  addrinfo hints{};
  hints.ai_family = AF_UNSPEC;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  const int resolved = ::getaddrinfo(host.c_str(), std::to_string(port).c_str(), &hints, &found);
  if (resolved != 0) {
    *error = ::gai_strerror(resolved);
    return false;
  }
  int last_error = 0;
  for (addrinfo* a = found; a != nullptr && fd_ < 0; a = a->ai_next) {
    const int fd = ::socket(a->ai_family, a->ai_socktype | SOCK_CLOEXEC, a->ai_protocol);
    if (fd < 0) {
      last_error = errno;
      continue;
    }
    int rc;
    while ((rc = ::connect(fd, a->ai_addr, a->ai_addrlen)) < 0 && errno == EINTR) {
    }
    if (rc == 0) {
      fd_ = fd;
    } else {
      last_error = errno;
      ::close(fd);
    }
  }
  ::freeaddrinfo(found);
  if (fd_ < 0) {
    *error = std::strerror(last_error != 0 ? last_error : ECONNREFUSED);
    return false;
  }
  int one = 1;
  ::setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  buffer_.clear();
  begin_ = 0;
  return true;
}

bool MonitorClient::TakeFrame(std::string* frame) {
  const std::size_t available = buffer_.size() - begin_;
  if (available < kHeader) return false;
  const std::size_t length = Length(buffer_.data() + begin_);
  if (available < kHeader + length) return false;
  frame->assign(buffer_, begin_ + kHeader, length);
  begin_ += kHeader + length;
  return true;
}

MonitorClient::ReadResult MonitorClient::Next(int timeout_ms, std::string* frame) {
  if (fd_ < 0) return ReadResult::kClosed;
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeout_ms);
  for (;;) {
    if (buffer_.size() - begin_ >= kHeader && Length(buffer_.data() + begin_) > kMaxFrame) {
      return ReadResult::kTooLong;
    }
    if (TakeFrame(frame)) return ReadResult::kFrame;
    // Keep only the unread bytes before reading more.
    if (begin_ > 0) {
      buffer_.erase(0, begin_);
      begin_ = 0;
    }
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, left.count() > 0 ? static_cast<int>(left.count()) : 0);
    if (ready < 0 && errno != EINTR) return ReadResult::kClosed;
    if (ready <= 0) return ReadResult::kTimeout;
    const std::size_t old = buffer_.size();
    buffer_.resize(old + kReadSize);
    const ssize_t n = ::recv(fd_, &buffer_[old], kReadSize, 0);
    buffer_.resize(old + (n > 0 ? static_cast<std::size_t>(n) : 0));
    if (n == 0) return ReadResult::kClosed;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN) return ReadResult::kTimeout;
      return ReadResult::kClosed;
    }
    received_ += static_cast<std::size_t>(n);
  }
}

bool MonitorClient::Send(const std::string& text, std::string* error) {
  if (fd_ < 0) {
    *error = "not connected";
    return false;
  }
  const std::uint32_t length = htonl(static_cast<std::uint32_t>(text.size()));
  std::string bytes(reinterpret_cast<const char*>(&length), kHeader);
  bytes += text;
  for (std::size_t sent = 0; sent < bytes.size();) {
    const ssize_t n = ::send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR) continue;
      *error = std::strerror(errno);
      return false;
    }
    sent += static_cast<std::size_t>(n);
  }
  return true;
}

void MonitorClient::Finish(int drain_ms) {
  if (fd_ < 0) return;
  // Closing with unread bytes would reset the connection, and a reset can
  // lose the last commands on their way: half-close and read until the
  // server closes too.
  ::shutdown(fd_, SHUT_WR);
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(drain_ms);
  char sink[kReadSize];
  for (;;) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) break;
    pollfd p{fd_, POLLIN, 0};
    const int ready = ::poll(&p, 1, static_cast<int>(left.count()));
    if (ready < 0 && errno == EINTR) continue;
    if (ready <= 0) break;
    const ssize_t n = ::recv(fd_, sink, sizeof sink, 0);
    if (n == 0 || (n < 0 && errno != EINTR)) break;
  }
  ::close(fd_);
  fd_ = -1;
  buffer_.clear();
  begin_ = 0;
}
