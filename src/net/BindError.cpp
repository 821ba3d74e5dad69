#include "net/BindError.h"

namespace net {

BindError::BindError(const std::string& text) : std::runtime_error(text) {}

}  // namespace net
