#include "agent/DrawingSender.h"

#include <cstring>
#include <iostream>

#include "agent/BeliefDrawing.h"

namespace draw {

DrawingSender::DrawingSender(const net::Addr& to)
    : peer_(to.getHostString() + ":" + std::to_string(to.getPort())), setup_error_(socket_.Connect(to)) {}

void DrawingSender::Send(const Beliefs& beliefs) {
  DrawBeliefs(beliefs, &commands_);
  for (std::size_t i = 0; i < commands_.DatagramCount(); ++i) {
    const std::string_view datagram = commands_.Datagram(i);
    const int err = setup_error_ != 0 ? setup_error_ : socket_.Send(datagram.data(), datagram.size());
    if (err != 0) Fail(err);
  }
}

void DrawingSender::Fail(int err) {
  if (failures_++ == 0) {
    std::cerr << "cannot send drawings to " << peer_ << " (" << std::strerror(err)
              << "); playing on, further failures are not shown" << std::endl;
  }
}

}  // namespace draw
