#ifndef VEKTORLING_NET_RESOLVEERROR_H
#define VEKTORLING_NET_RESOLVEERROR_H

#include <string>

#include "net/ConnectError.h"

namespace net {

// Thrown when an address cannot be built from a host name and port; what()
// holds the resolver's text. A host is named in order to connect to it, so a
// name that does not resolve is one way a connection fails: callers that
// catch ConnectError see it too.
class ResolveError : public ConnectError {
 public:
  explicit ResolveError(const std::string& text);
};

}  // namespace net

#endif
