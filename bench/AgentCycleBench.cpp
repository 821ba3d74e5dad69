// Cost of one sense-think-act cycle on the real server's messages.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <vector>

#include "agent/Agent.h"
#include "agent/ProcessState.h"

namespace {

std::vector<std::string> Recorded() {
  std::ifstream in(VEKTORLING_SOURCE_DIR "/tests/data/standing-player.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// One cycle per iteration, cycling through the recorded session (a third of
// the messages carry vision).
void BM_AgentRun(benchmark::State& state) {
  const std::vector<std::string> lines = Recorded();
  if (lines.size() < 2) {
    state.SkipWithError("recorded session not found");
    return;
  }
  ProcessState::Reset();
  Agent agent(7, "Alpha", true);
  size_t i = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(agent.Run(lines[i]));
    if (++i == lines.size()) i = 1;
  }
}
BENCHMARK(BM_AgentRun);

}  // namespace
