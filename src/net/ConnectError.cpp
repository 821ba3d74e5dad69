#include "net/ConnectError.h"

namespace net {

ConnectError::ConnectError(const std::string& text) : std::runtime_error(text) {}

}  // namespace net
