#ifndef VEKTORLING_NET_BINDERROR_H
#define VEKTORLING_NET_BINDERROR_H

#include <stdexcept>
#include <string>

namespace net {

// Thrown by TCPSocket::bind; what() holds the system's text for the failure.
class BindError : public std::runtime_error {
 public:
  explicit BindError(const std::string& text);
};

}  // namespace net

#endif
