#ifndef VEKTORLING_SIM_FIELD_OPTIONS_H
#define VEKTORLING_SIM_FIELD_OPTIONS_H

#include <string>
#include <utility>
#include <vector>

#include "World.h"

// The command line of the practice field.
struct FieldOptions {
  int port = 3100;          // players; 0 lets the system choose a free port
  int trainer_port = 3200;  // trainer commands; 0 as above
  bool sync = false;        // a step waits for "(syn)" from every player
  int players = 0;          // sync: the clock starts once this many players have joined
  unsigned seed = 1;
  bool noise = true;
  double kickoff_after = -1.0;  // seconds; < 0: the trainer starts the match
  double duration = -1.0;       // simulated seconds; < 0: until stopped
  int pushes = 0;               // robots knocked over at random moments (needs a duration)
  std::string trace_file;       // empty: no trace
  std::string svg_file;         // empty: no picture
  // Simulated seconds on standard error: one line rewritten every second (for
  // a terminal), or a line of its own every 10 s (for a log).
  enum class Progress { kOff, kRewrite, kLines };
  Progress progress = Progress::kOff;
  bool quiet = false;           // no notes about clients coming and going
  // --at S:COMMAND: trainer commands at simulated times, in the order given.
  std::vector<std::pair<double, std::string>> scheduled;
  bool help = false;            // --help was given

  WorldConfig ToWorldConfig() const;
};

// Reads argv[1..argc-1] into *options. On a bad argument returns false with
// one line (no newline) in *error; the caller then prints the usage text.
bool ParseFieldOptions(int argc, const char* const* argv, FieldOptions* options, std::string* error);

// The usage text printed for --help and after a bad option.
std::string FieldUsage();

#endif
