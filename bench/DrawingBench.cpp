// Cost of a player's drawings in a cycle with vision: the commands built,
// and built and sent.
#include <benchmark/benchmark.h>

#include <string>

#include "agent/BeliefDrawing.h"
#include "agent/DrawingSender.h"
#include "net/Addr.h"
#include "support/UdpListener.h"

namespace {

// Every shape there is: pose, ball, target and mate, and the text.
draw::Beliefs Believed() {
  draw::Beliefs b;
  b.team = "Alpha";
  b.number = 7;
  b.side = Side::kRight;
  b.position = Eigen::Vector2d(3.2, -1.7);
  b.heading = Eigen::Vector2d(-0.8, 0.6);
  b.ball = Eigen::Vector2d(-0.4, 0.3);
  b.target = Eigen::Vector2d(-0.2, 0.31);
  b.mate = Eigen::Vector2d(1.5, 2.5);
  b.behavior = "WALK";
  b.play_mode = "PlayOn";
  return b;
}

void BM_DrawBeliefs(benchmark::State& state) {
  const draw::Beliefs b = Believed();
  draw::RoboVizCommands commands;
  for (auto _ : state) {
    draw::DrawBeliefs(b, &commands);
    benchmark::DoNotOptimize(commands.Datagram(0).data());
  }
}
BENCHMARK(BM_DrawBeliefs);

void BM_DrawAndSendToClosedPort(benchmark::State& state) {
  // Every other send fails with ECONNREFUSED (told once on standard error).
  const int port = UdpListener::ClosedPort();
  draw::DrawingSender sender(net::Addr(port, std::string("127.0.0.1")));
  const draw::Beliefs b = Believed();
  for (auto _ : state) sender.Send(b);
  state.counters["failed_sends"] = benchmark::Counter(static_cast<double>(sender.Failures()),
                                                      benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_DrawAndSendToClosedPort);

}  // namespace
