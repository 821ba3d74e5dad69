#ifndef VEKTORLING_WATCH_MONITOR_CLIENT_H
#define VEKTORLING_WATCH_MONITOR_CLIENT_H

#include <cstddef>
#include <string>

// A connection to the server's monitor port: frames of the monitor stream
// in, trainer commands out, each framed as a 4-byte big-endian length and
// the text.
class MonitorClient {
public:
  // The longest frame accepted (a full state of two full teams is about
  // 150 kB).
  static constexpr std::size_t kMaxFrame = 16u << 20;

  MonitorClient() = default;
  ~MonitorClient();
  MonitorClient(const MonitorClient&) = delete;
  MonitorClient& operator=(const MonitorClient&) = delete;

  // False with the reason (resolver's or system's text) when it fails.
  bool Connect(const std::string& host, int port, std::string* error);

  enum class ReadResult {
    kFrame,    // *frame holds the next frame's text
    kTimeout,  // nothing complete within the time, or a signal came
    kClosed,   // the server closed the connection (also inside a frame) or it failed
    kTooLong,  // a frame longer than kMaxFrame: the stream cannot be followed
  };
  // Waits at most timeout_ms for the next frame.
  ReadResult Next(int timeout_ms, std::string* frame);

  // Sends one framed text; false with the reason when it fails.
  bool Send(const std::string& text, std::string* error);

  // Ends the connection so that what was sent still reaches the server:
  // no more sending, reading on until the server closes (at most
  // drain_ms), then closing.
  void Finish(int drain_ms);

  std::size_t BytesReceived() const { return received_; }

private:
  // Moves the next complete frame out of the buffer; false when there is none.
  bool TakeFrame(std::string* frame);

  int fd_ = -1;
  std::string buffer_;
  std::size_t begin_ = 0;  // the first byte not yet handed out
  std::size_t received_ = 0;
};

#endif
