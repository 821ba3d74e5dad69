#ifndef VEKTORLING_WATCH_WATCH_OPTIONS_H
#define VEKTORLING_WATCH_WATCH_OPTIONS_H

#include <string>

#include "WatchSession.h"

// The command line of vektorling-watch.
struct WatchOptions {
  std::string host = "127.0.0.1";
  int port = 3200;            // the server's monitor port
  std::string trace_file;     // empty: no trace
  std::string svg_file;       // empty: no picture
  WatchPlan plan;             // commands, waiting, stop conditions, progress
  double wait_timeout = 120;  // wall seconds for --wait-robots
  bool print_last = false;
  bool help = false;
};

// Reads argv[1..argc-1]. On a bad argument returns false with one line (no
// line end) in *error.
bool ParseWatchOptions(int argc, const char* const* argv, WatchOptions* options, std::string* error);

std::string WatchUsage();

#endif
