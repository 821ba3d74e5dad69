#include "net/ResolveError.h"

namespace net {

ResolveError::ResolveError(const std::string& text) : ConnectError(text) {}

}  // namespace net
