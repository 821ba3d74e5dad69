#ifndef VEKTORLING_SIM_CONNECTION_H
#define VEKTORLING_SIM_CONNECTION_H

#include <cstddef>
#include <string>
#include <vector>

// One client socket of the practice field, non-blocking, with the wire
// framing of the simulation server: a 4-byte big-endian length, then the
// text. Input and output are buffered so that a slow or stalled client never
// blocks the field; the buffers keep their capacity between messages.
class Connection {
public:
  // Longest text accepted from a client; a longer frame means a broken client.
  static constexpr std::size_t kMaxFrame = 100 * 1024;
  // Output a client may leave unread before it is given up.
  static constexpr std::size_t kMaxUnsent = 8 * 1024 * 1024;

  enum class ReadResult { kOk, kClosed, kError };
  enum class FrameResult { kNone, kFrame, kTooLong };

  // Takes over the descriptor (made non-blocking here). `number` names the
  // client in messages.
  Connection(int fd, int number);
  ~Connection();
  Connection(const Connection&) = delete;
  Connection& operator=(const Connection&) = delete;

  int fd() const { return fd_; }
  int number() const { return number_; }

  // Reads what the socket holds now. kClosed when the peer has closed its
  // side (what it sent before stays readable through NextFrame); kError with
  // a reason on a socket error.
  ReadResult Receive(std::string* reason);
  // Takes the next complete frame out of the input into *text.
  FrameResult NextFrame(std::string* text, std::string* reason);
  // Bytes of an incomplete frame are waiting.
  bool MidFrame() const { return in_end_ > in_begin_; }

  // Queues one frame and writes as much as the socket takes now. False with a
  // reason when the socket failed or the client leaves too much unread.
  bool Send(const std::string& text, std::string* reason);
  // Writes queued output; false with a reason when the socket failed.
  bool Flush(std::string* reason);
  bool HasUnsent() const { return out_begin_ < out_.size(); }

  // Ends the sending side after the queued output (the client reads the end
  // of the stream), and closes the socket for good.
  void ShutdownWrite();
  void Close();

private:
  int fd_;
  int number_;
  std::vector<char> in_;
  std::size_t in_begin_ = 0, in_end_ = 0;
  std::vector<char> out_;
  std::size_t out_begin_ = 0;
};

#endif
