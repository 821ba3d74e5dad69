#include "net/FrameReader.h"

#include <arpa/inet.h>

#include <cerrno>
#include <cstdint>
#include <cstring>

namespace net {

bool FrameReader::Fill(TCPSocket& socket, bool (*wait)()) {
  for (;;) {
    wait();
    const ssize_t r = socket.recv(buffer_ + end_, kCapacity - end_, 0, 0);
    if (r < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return false;
    }
    end_ += static_cast<std::size_t>(r);
    return socket.isConnected();
  }
}

FrameReader::Result FrameReader::Next(TCPSocket& socket, bool (*wait)(), std::string_view* payload) {
  // The previous frame has been used: its bytes can go.
  if (begin_ == end_) begin_ = end_ = 0;
  while (end_ - begin_ < kHeaderSize) {
    if (begin_ + kHeaderSize > kCapacity) {
      std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
      end_ -= begin_;
      begin_ = 0;
    }
    if (!Fill(socket, wait)) return CLOSED;
  }
  std::uint32_t length_be;
  std::memcpy(&length_be, buffer_ + begin_, kHeaderSize);
  const std::size_t length = ntohl(length_be);
  if (length > kMaxPayload) return TOO_LONG;
  const std::size_t frame = kHeaderSize + length;
  if (begin_ + frame > kCapacity) {  // make room behind the frame's start
    std::memmove(buffer_, buffer_ + begin_, end_ - begin_);
    end_ -= begin_;
    begin_ = 0;
  }
  while (end_ - begin_ < frame) {
    if (!Fill(socket, wait)) return CLOSED;
  }
  *payload = std::string_view(buffer_ + begin_ + kHeaderSize, length);
  begin_ += frame;
  return FRAME;
}

}  // namespace net
