#ifndef VEKTORLING_NET_FRAMEREADER_H
#define VEKTORLING_NET_FRAMEREADER_H

#include <cstddef>
#include <string_view>

#include "net/TCPSocket.h"

namespace net {

// Cuts frames (a 4-byte big-endian length, then that many bytes) out of
// the byte stream of a socket. It reads in large pieces, so that one
// receive call usually brings a whole frame, and keeps whatever arrived
// behind the current frame for the next one: frames never run into each
// other however the stream is cut.
class FrameReader {
 public:
  // Room for the largest frame: its 4-byte length and 81,916 bytes.
  static constexpr std::size_t kCapacity = 81920;
  static constexpr std::size_t kHeaderSize = 4;
  static constexpr std::size_t kMaxPayload = kCapacity - kHeaderSize - 1;

  enum Result { FRAME, CLOSED, TOO_LONG };

  // Waits (with wait() before every receive call) until one whole frame is
  // buffered and points payload at its bytes, valid until the next call.
  // CLOSED when the peer closed the connection or it failed for good, also
  // inside a frame; TOO_LONG when a length exceeds kMaxPayload (the stream
  // cannot be followed any further).
  Result Next(TCPSocket& socket, bool (*wait)(), std::string_view* payload);

  // Forgets buffered bytes, for a new connection.
  void Clear() { begin_ = end_ = 0; }

 private:
  // Receives more bytes behind the buffered ones; false when the peer has
  // gone. Interrupted and would-block calls are retried after waiting.
  bool Fill(TCPSocket& socket, bool (*wait)());

  char buffer_[kCapacity];
  std::size_t begin_ = 0;  // first byte of the current frame
  std::size_t end_ = 0;    // behind the last byte received
};

}  // namespace net

#endif  // VEKTORLING_NET_FRAMEREADER_H
