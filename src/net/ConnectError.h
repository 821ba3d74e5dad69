#ifndef VEKTORLING_NET_CONNECTERROR_H
#define VEKTORLING_NET_CONNECTERROR_H

#include <stdexcept>
#include <string>

namespace net {

// Thrown by TCPSocket::connect; what() holds the system's text for the failure.
class ConnectError : public std::runtime_error {
 public:
  explicit ConnectError(const std::string& text);
};

}  // namespace net

#endif
