// The practice field's own work per step with two full teams: the players'
// answers read, the world stepped, 22 perceptor messages built, the trace
// line written. Sockets are left out; they cost the same whatever the field
// computes.
#include <benchmark/benchmark.h>

#include <charconv>
#include <cmath>
#include <string>
#include <vector>

#include "MonitorStream.h"
#include "Trace.h"
#include "World.h"
#include "nao_model/NaoModel.h"

namespace {

// Robot types the start script gives to numbers 1 to 11.
constexpr int kTypes[12] = {0, 0, 0, 0, 0, 0, 1, 1, 2, 0, 3, 4};

// A field with two teams of eleven that joined and got their first messages.
struct Match {
  World world;
  std::vector<int> ids;

  Match() : world(Config()) {
    for (const char* team : {"Left", "Right"}) {
      for (int n = 1; n <= 11; ++n) {
        const int id = world.CreateRobot(kTypes[n]);
        world.Perceive(id);
        world.InitRobot(id, team, n, nullptr);
        world.Perceive(id);
        ids.push_back(id);
      }
    }
  }

  static WorldConfig Config() {
    WorldConfig c;
    c.seed = 1;
    c.kickoff_after = 3.0;
    return c;
  }
};

// What a player answers: a speed for each of the 22 joints, written as it
// writes them (six significant digits), and "(syn)".
std::string Answer(int robot, long step) {
  std::string out;
  for (int j = 0; j < NaoModel::kJointNum; ++j) {
    const double v = 0.3 * std::sin(0.07 * static_cast<double>(step) + 0.5 * j + robot);
    char number[32];
    const auto r = std::to_chars(number, number + sizeof number, v, std::chars_format::general, 6);
    out += '(';
    out += NaoModel::kJointTable[j].e_name;
    out += ' ';
    out.append(number, r.ptr);
    out += ')';
  }
  return out + "(syn)";
}

// One answer per robot for each of 64 steps, made before the clock runs.
std::vector<std::vector<std::string>> Answers(std::size_t robots) {
  std::vector<std::vector<std::string>> all(64);
  for (long s = 0; s < 64; ++s) {
    for (std::size_t r = 0; r < robots; ++r) all[s].push_back(Answer(static_cast<int>(r), s));
  }
  return all;
}

void BM_FieldStep(benchmark::State& state) {
  Match m;
  const auto answers = Answers(m.ids.size());
  std::string message, line;
  long step = 0;
  for (auto _ : state) {
    const auto& now = answers[step++ % answers.size()];
    for (std::size_t i = 0; i < m.ids.size(); ++i) m.world.ApplyCommands(m.ids[i], now[i]);
    m.world.Step();
    for (int id : m.ids) {
      m.world.Perceive(id, &message);
      benchmark::DoNotOptimize(message.data());
    }
    Trace::FormatLine(m.world.Snapshot(), &line);
    benchmark::DoNotOptimize(line.data());
  }
}
BENCHMARK(BM_FieldStep)->Unit(benchmark::kMicrosecond);

// The parts of a step on their own.
void BM_FieldCommands(benchmark::State& state) {
  Match m;
  const auto answers = Answers(m.ids.size());
  long step = 0;
  for (auto _ : state) {
    const auto& now = answers[step++ % answers.size()];
    for (std::size_t i = 0; i < m.ids.size(); ++i) m.world.ApplyCommands(m.ids[i], now[i]);
  }
}
BENCHMARK(BM_FieldCommands)->Unit(benchmark::kMicrosecond);

void BM_FieldMessages(benchmark::State& state) {
  Match m;
  std::string message;
  for (auto _ : state) {
    for (int id : m.ids) {
      m.world.Perceive(id, &message);
      benchmark::DoNotOptimize(message.data());
    }
  }
}
BENCHMARK(BM_FieldMessages)->Unit(benchmark::kMicrosecond);

void BM_FieldTraceLine(benchmark::State& state) {
  Match m;
  std::string line;
  for (auto _ : state) {
    Trace::FormatLine(m.world.Snapshot(), &line);
    benchmark::DoNotOptimize(line.data());
  }
}
BENCHMARK(BM_FieldTraceLine)->Unit(benchmark::kMicrosecond);

// The monitor stream's frame with 22 robots: a diff in which every robot
// moved (what a watcher gets every second step), and a full state with the
// scene taken from the world (at the start and on a join or leave).
void BM_FieldMonitorDiff(benchmark::State& state) {
  Match m;
  const auto answers = Answers(m.ids.size());
  // Two scenes a step apart, every robot moving: each frame is a diff of all.
  SceneSnapshot scenes[2];
  for (SceneSnapshot& scene : scenes) {
    for (std::size_t i = 0; i < m.ids.size(); ++i) m.world.ApplyCommands(m.ids[i], answers[0][i]);
    m.world.Step();
    m.world.Scene(&scene);
  }
  MonitorStream stream;
  std::string frame;
  stream.Next(scenes[1], &frame);
  long step = 0;
  for (auto _ : state) {
    stream.Next(scenes[step++ % 2], &frame);
    benchmark::DoNotOptimize(frame.data());
  }
  state.counters["bytes"] = static_cast<double>(frame.size());
}
BENCHMARK(BM_FieldMonitorDiff)->Unit(benchmark::kMicrosecond);

void BM_FieldMonitorFull(benchmark::State& state) {
  Match m;
  MonitorStream stream;
  SceneSnapshot scene;
  std::string frame;
  for (auto _ : state) {
    m.world.Scene(&scene);
    stream.Full(scene, &frame);
    benchmark::DoNotOptimize(frame.data());
  }
  state.counters["bytes"] = static_cast<double>(frame.size());
}
BENCHMARK(BM_FieldMonitorFull)->Unit(benchmark::kMicrosecond);

}  // namespace
