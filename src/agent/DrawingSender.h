#ifndef VEKTORLING_AGENT_DRAWINGSENDER_H
#define VEKTORLING_AGENT_DRAWINGSENDER_H

#include <string>

#include "agent/Beliefs.h"
#include "net/RoboVizCommands.h"
#include "net/Addr.h"
#include "net/UDPSocket.h"

namespace draw {

// Sends a player's drawings to a RoboViz listening on UDP. A failure (no
// socket, nobody listening, a full send queue, no route) never stops or
// holds up the player: it is counted, the first one is told in one line on
// standard error, and the next cycle is sent as if nothing had happened.
class DrawingSender {
 public:
  explicit DrawingSender(const net::Addr& to);

  // One cycle's drawings (see DrawBeliefs), one send per datagram.
  void Send(const Beliefs& beliefs);
  // Datagrams that could not be sent so far.
  long Failures() const { return failures_; }

 private:
  // Counts a failed datagram with the system's error; says so the first time.
  void Fail(int err);

  net::UDPSocket socket_;
  const std::string peer_;  // "HOST:PORT", for the line on standard error
  // The socket's own error from setting it up (0: none); every send fails with it.
  int setup_error_;
  long failures_ = 0;
  RoboVizCommands commands_;
};

}  // namespace draw

#endif
