// libFuzzer target for what vektorling-watch reads from the server's monitor
// port: every line of an input is one frame of the monitor stream, handed to
// one watch session (frame reader, scene graph, game values, truth), which
// waits for a robot, sends commands and stops after 40 frames; every state
// taken gets its trace line and a point in the picture, which is drawn at
// the end. A new session for every input. Build instructions: README.md.
#include <cstddef>
#include <cstdint>
#include <string>

#include "Lines.h"
#include "SvgPlot.h"
#include "Trace.h"
#include "WatchSession.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  WatchPlan plan;
  plan.commands = {"(playMode PlayOn)"};
  plan.wait_robots = 1;
  plan.frames = 40;
  plan.progress = true;
  WatchSession session(plan);
  SvgPlot plot;
  std::string line;
  ForEachLine(data, size, [&](const std::string& frame) {
    if (session.OnFrame(frame).taken) {
      Trace::FormatLine(session.Last(), &line);
      plot.Add(session.Last());
    }
  });
  plot.Render();
  return 0;
}
