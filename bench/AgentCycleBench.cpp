// Cost of one sense-think-act cycle on the real server's messages.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "agent/Agent.h"
#include "agent/CommonInformation.h"
#include "agent/walking/Walking.h"

namespace {

std::vector<std::string> Recorded() {
  std::ifstream in(VEKTORLING_SOURCE_DIR "/tests/data/standing-player.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

// One cycle per iteration, cycling through the recorded session (a third of
// the messages carry vision). Argument 1: with the player's trace written to
// a file, one flushed line per cycle, as --trace does.
void BM_AgentRun(benchmark::State& state) {
  const std::vector<std::string> lines = Recorded();
  if (lines.size() < 2) {
    state.SkipWithError("recorded session not found");
    return;
  }
  Agent agent(7, "Alpha", true);
  const char* tmp = std::getenv("TMPDIR");
  const std::string path = std::string(tmp != nullptr ? tmp : "/tmp") + "/vektorling-bench-trace.jsonl";
  std::ofstream trace;
  if (state.range(0) == 1) {
    trace.open(path);
    if (!trace) {
      state.SkipWithError("cannot write the trace file");
      return;
    }
    agent.SetTrace(&trace);
  }
  size_t i = 1;
  for (auto _ : state) {
    benchmark::DoNotOptimize(agent.Run(lines[i]));
    if (++i == lines.size()) i = 1;
  }
  if (trace.is_open()) {
    trace.close();
    std::remove(path.c_str());
  }
}
BENCHMARK(BM_AgentRun)->ArgName("trace")->Arg(0)->Arg(1);

// The walking engine alone: one cycle of leg commands at full speed.
void BM_Walk(benchmark::State& state) {
  WalkEngine walk;
  WalkCommand command;
  command.speed = 1.0;
  command.direction = 0.3;
  command.curve = -0.2;
  const JointAngles joint{};
  JointRequest request;
  for (auto _ : state) {
    walk.Update({command, &joint}, &request);
    request.Clear();
  }
  benchmark::DoNotOptimize(request);
}
BENCHMARK(BM_Walk);

}  // namespace

// The world update alone with everything in view: eight landmarks, the ball
// and five parts of 22 other players, each feeding its position filter.
#include "object/Ball.h"
#include "object/Object.h"
#include "object/Player.h"

namespace {

void BM_UpdateCoordinateFullVision(benchmark::State& state) {
  // An agent whose vision state the benchmark sets directly.
  struct SeeingAgent : Agent {
    SeeingAgent() : Agent(5, "Alpha", true) { main_msg.vision_.see = true; }
  } agent;
  CommonInformation& ci = agent.GetBlackboard();
  auto see = [](Object& o, double d, double h) {
    o.visible = true;
    o.distance = d;
    o.h_angle = h;
    o.v_angle = -5;
  };
  for (int i = 0; i < CommonInformation::kFlagNum; ++i) see(*ci.flag_[i], 10 + i, 10 * i - 35);
  see(*ci.ball_, 3, 5);
  for (int k = 1; k <= 11; ++k) {
    for (Player* p : {ci.friend_[k], ci.enemy_[k]}) {
      for (Object* part : {&p->head, &p->rarm, &p->larm, &p->rfoot, &p->lfoot}) see(*part, k, k);
    }
  }
  agent.UpdateObjects();
  for (auto _ : state) {
    ci.br_.game_time += 0.02;
    agent.UpdateCoordinate();
  }
}
BENCHMARK(BM_UpdateCoordinateFullVision);

}  // namespace
