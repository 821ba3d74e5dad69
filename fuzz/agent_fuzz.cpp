// libFuzzer target for the whole player: every input is a stretch of server
// messages, one per line, each run through one cycle of the agent (parse,
// body, world, decision, answer, trace line). Build instructions: README.md.
#include <cstddef>
#include <cstdint>
#include <iostream>
#include <sstream>
#include <string>

#include "Lines.h"
#include "agent/Agent.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // One agent for the whole run, as in the player process: the blackboard,
  // the estimates, the motions under way and the counters carry over from
  // one input to the next. Number 9 also plays the kick-off script.
  static std::ostringstream trace;
  static Agent& agent = *[] {
    // The diagnostics about unreadable messages would drown the fuzzer's
    // own output; sanitizer reports do not go through these streams.
    std::cout.rdbuf(nullptr);
    std::cerr.rdbuf(nullptr);
    Agent* a = new Agent(9, "Alpha", true);
    a->SetTrace(&trace);
    return a;
  }();

  ForEachLine(data, size, [](const std::string& message) {
    agent.Run(message);
    trace.str(std::string());
  });
  return 0;
}
