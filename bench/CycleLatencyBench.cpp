// Latency of one sense-think-act cycle per class of message: percentiles
// (p50, p99, p99.9 in microseconds) and heap allocations per cycle, over the
// recorded real session and a generated match with 22 players in view.
//   build-rel/vektorling_bench --benchmark_filter=Cycle --benchmark_repetitions=5
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <new>
#include <string>
#include <vector>

#include "agent/Agent.h"
#include "support/ServerStreams.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

namespace {
void* Allocate(std::size_t n) {
  ++g_allocations;
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
}  // namespace

// Every allocation of the benchmark binary is counted.
void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace {

enum Class { kRecordedVision, kRecordedBlind, kFullVision, kFullBlind };

// The messages of one class, in the order the player would get them.
std::vector<std::string> Messages(Class c) {
  std::vector<std::string> out;
  if (c == kRecordedVision || c == kRecordedBlind) {
    const std::vector<std::string> lines = streams::RecordedPlayOn();
    for (size_t i = 1; i < lines.size(); ++i) {
      const bool vision = lines[i].find("(See") != std::string::npos;
      if (vision == (c == kRecordedVision)) out.push_back(lines[i]);
    }
    return out;
  }
  streams::FullVisionMatch match;
  match.unum = 7;
  match.cycles_per_mode = 1000000;  // "BeforeKickOff" never ends: no beams
  match.jolts = false;
  match.Stand();
  for (int n = 0; n < 600; ++n) {
    const bool vision = n % 3 == 0;
    if (vision == (c == kFullVision)) out.push_back(match.Message(n));
  }
  // Play on: the player walks and tracks the ball, as in a match.
  for (std::string& m : out) {
    const size_t p = m.find("(pm BeforeKickOff)");
    if (p != std::string::npos) m.replace(p, 18, "(pm PlayOn)");
  }
  return out;
}

void BM_Cycle(benchmark::State& state) {
  const std::vector<std::string> messages = Messages(static_cast<Class>(state.range(0)));
  if (messages.empty()) {
    state.SkipWithError("no messages of this class");
    return;
  }
  Agent agent(7, "Alpha", true);
  agent.SetBehavior(Agent::WALK);
  std::string answer;
  size_t i = 0;
  for (int warm = 0; warm < 200; ++warm) {
    answer = agent.Run(messages[i]);
    i = (i + 1) % messages.size();
  }
  std::vector<double> micros;
  micros.reserve(1 << 20);
  const long allocations_before = g_allocations.load();
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    answer = agent.Run(messages[i]);
    const auto t1 = std::chrono::steady_clock::now();
    if (micros.size() < micros.capacity()) micros.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    i = (i + 1) % messages.size();
  }
  if (agent.GetBehavior() != Agent::WALK) state.SkipWithError("the player stopped walking");
  const double allocations = static_cast<double>(g_allocations.load() - allocations_before);
  std::sort(micros.begin(), micros.end());
  auto at = [&](double q) { return micros[std::min(micros.size() - 1, static_cast<size_t>(q * micros.size()))]; };
  state.counters["p50_us"] = at(0.50);
  state.counters["p99_us"] = at(0.99);
  state.counters["p999_us"] = at(0.999);
  state.counters["allocs"] = allocations / static_cast<double>(state.iterations());
  state.counters["bytes"] = static_cast<double>(messages[0].size());
}
BENCHMARK(BM_Cycle)
    ->ArgName("class")
    ->Arg(kRecordedVision)
    ->Arg(kRecordedBlind)
    ->Arg(kFullVision)
    ->Arg(kFullBlind)
    ->Iterations(20000);

}  // namespace
