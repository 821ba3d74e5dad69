#include "Connection.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstring>

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

constexpr std::size_t kReadChunk = 64 * 1024;
// Bytes read from one client per call, so that a flooding client cannot
// starve the others.
constexpr std::size_t kReadBudget = 4 * kReadChunk;

bool IsTransient(int error) { return error == EAGAIN || error == EWOULDBLOCK || error == EINTR; }

}  // namespace

Connection::Connection(int fd, int number) : fd_(fd), number_(number) {
  const int flags = fcntl(fd_, F_GETFL, 0);
  if (flags >= 0) fcntl(fd_, F_SETFL, flags | O_NONBLOCK);
  const int one = 1;
  setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  in_.resize(kReadChunk);
}

Connection::~Connection() { Close(); }

Connection::ReadResult Connection::Receive(std::string* reason) {
  if (fd_ < 0) return ReadResult::kClosed;
  std::size_t budget = kReadBudget;
  while (budget > 0) {
    // Keep the unread bytes at the front so the buffer does not creep.
    if (in_begin_ > 0 && in_.size() - in_end_ < kReadChunk) {
      std::memmove(in_.data(), in_.data() + in_begin_, in_end_ - in_begin_);
      in_end_ -= in_begin_;
      in_begin_ = 0;
    }
    if (in_.size() - in_end_ < kReadChunk) in_.resize(in_end_ + kReadChunk);
    const ssize_t got = recv(fd_, in_.data() + in_end_, kReadChunk, 0);
    if (got > 0) {
      in_end_ += static_cast<std::size_t>(got);
      budget -= std::min(budget, static_cast<std::size_t>(got));
      // A short read has emptied the socket for now; poll tells of more
      // (or of the end) without another call here.
      if (static_cast<std::size_t>(got) < kReadChunk) return ReadResult::kOk;
      continue;
    }
    if (got == 0) return ReadResult::kClosed;
    if (errno == EINTR) continue;
    if (IsTransient(errno)) return ReadResult::kOk;
    // A reset is how a killed client usually leaves: treat it as closing.
    if (errno == ECONNRESET) return ReadResult::kClosed;
    if (reason) *reason = std::string("receive failed: ") + std::strerror(errno);
    return ReadResult::kError;
  }
  return ReadResult::kOk;
}

Connection::FrameResult Connection::NextFrame(std::string* text, std::string* reason) {
  const std::size_t available = in_end_ - in_begin_;
  if (available < 4) return FrameResult::kNone;
  const unsigned char* head = reinterpret_cast<const unsigned char*>(in_.data() + in_begin_);
  const std::uint32_t length = (std::uint32_t(head[0]) << 24) | (std::uint32_t(head[1]) << 16) |
                               (std::uint32_t(head[2]) << 8) | std::uint32_t(head[3]);
  // Judged on the header alone: a client announcing a huge frame is not
  // waited for.
  if (length > kMaxFrame) {
    if (reason) {
      *reason = "frame of " + std::to_string(length) + " bytes is longer than " + std::to_string(kMaxFrame);
    }
    return FrameResult::kTooLong;
  }
  if (available < 4 + std::size_t(length)) return FrameResult::kNone;
  text->assign(in_.data() + in_begin_ + 4, length);
  in_begin_ += 4 + length;
  if (in_begin_ == in_end_) in_begin_ = in_end_ = 0;
  return FrameResult::kFrame;
}

bool Connection::Send(const std::string& text, std::string* reason) {
  if (fd_ < 0) {
    if (reason) *reason = "connection closed";
    return false;
  }
  if (out_begin_ == out_.size()) {
    out_.clear();
    out_begin_ = 0;
  }
  if (out_.size() - out_begin_ + text.size() > kMaxUnsent) {
    if (reason) *reason = "it does not read its messages";
    return false;
  }
  const std::uint32_t length = static_cast<std::uint32_t>(text.size());
  const char header[4] = {char(length >> 24), char(length >> 16), char(length >> 8), char(length)};
  out_.insert(out_.end(), header, header + 4);
  out_.insert(out_.end(), text.begin(), text.end());
  return Flush(reason);
}

bool Connection::Flush(std::string* reason) {
  while (fd_ >= 0 && out_begin_ < out_.size()) {
    const ssize_t sent = send(fd_, out_.data() + out_begin_, out_.size() - out_begin_, MSG_NOSIGNAL);
    if (sent > 0) {
      out_begin_ += static_cast<std::size_t>(sent);
      continue;
    }
    if (sent < 0 && errno == EINTR) continue;
    if (sent < 0 && IsTransient(errno)) return true;
    if (reason) *reason = std::string("send failed: ") + (sent < 0 ? std::strerror(errno) : "no progress");
    return false;
  }
  if (out_begin_ == out_.size()) {
    out_.clear();
    out_begin_ = 0;
  }
  return true;
}

void Connection::ShutdownWrite() {
  if (fd_ >= 0) shutdown(fd_, SHUT_WR);
}

void Connection::Close() {
  if (fd_ >= 0) {
    ::close(fd_);
    fd_ = -1;
  }
}
