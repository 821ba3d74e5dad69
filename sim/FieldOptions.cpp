#include "FieldOptions.h"

#include <algorithm>
#include <cstring>

#include "Expression.h"
#include "OptionValues.h"

namespace {

enum class ValueKind { kNone, kPort, kUnsigned, kCount, kSeconds, kFile, kTimedCommand };

struct OptionRow {
  const char* name;
  ValueKind kind;
};

const OptionRow kOptionTable[] = {
    {"--help", ValueKind::kNone},        {"--port", ValueKind::kPort},
    {"--trainer-port", ValueKind::kPort}, {"--sync", ValueKind::kNone},
    {"--seed", ValueKind::kUnsigned},    {"--no-noise", ValueKind::kNone},
    {"--kickoff-after", ValueKind::kSeconds}, {"--duration", ValueKind::kSeconds},
    {"--trace", ValueKind::kFile},       {"--svg", ValueKind::kFile},
    {"--progress", ValueKind::kNone},    {"--progress-lines", ValueKind::kNone},
    {"--quiet", ValueKind::kNone},
    {"--pushes", ValueKind::kCount},     {"--players", ValueKind::kCount},
    {"--at", ValueKind::kTimedCommand},
};

constexpr long kMaxPushes = 10000;
constexpr long kMaxPlayers = 22;

using OptionValues::ParseLong;
using OptionValues::ParseSeconds;

// Stores one option's value; false with a reason when the value is not acceptable.
bool Apply(const OptionRow& row, const std::string& value, FieldOptions* options, std::string* error) {
  const std::string name = row.name;
  long number = 0;
  switch (row.kind) {
    case ValueKind::kNone:
      if (name == "--help") options->help = true;
      else if (name == "--sync") options->sync = true;
      else if (name == "--no-noise") options->noise = false;
      else if (name == "--progress") options->progress = FieldOptions::Progress::kRewrite;
      else if (name == "--progress-lines") options->progress = FieldOptions::Progress::kLines;
      else if (name == "--quiet") options->quiet = true;
      return true;
    case ValueKind::kPort:
      if (!ParseLong(value, 0, 65535, &number)) {
        *error = "bad value for " + name + ": '" + value + "' (a port number from 0 to 65535)";
        return false;
      }
      (name == "--port" ? options->port : options->trainer_port) = static_cast<int>(number);
      return true;
    case ValueKind::kUnsigned:
      if (!ParseLong(value, 0, 4294967295L, &number)) {
        *error = "bad value for " + name + ": '" + value + "' (a whole number from 0)";
        return false;
      }
      options->seed = static_cast<unsigned>(number);
      return true;
    case ValueKind::kCount: {
      const long max = name == "--players" ? kMaxPlayers : kMaxPushes;
      if (!ParseLong(value, 0, max, &number)) {
        *error = "bad value for " + name + ": '" + value + "' (a whole number from 0 to " + std::to_string(max) + ")";
        return false;
      }
      (name == "--players" ? options->players : options->pushes) = static_cast<int>(number);
      return true;
    }
    case ValueKind::kSeconds: {
      double seconds = 0;
      if (!ParseSeconds(value, &seconds) || (name == "--duration" && seconds <= 0)) {
        *error = "bad value for " + name + ": '" + value + "' (seconds, " +
                 (name == "--duration" ? "above 0)" : "0 or more)");
        return false;
      }
      (name == "--duration" ? options->duration : options->kickoff_after) = seconds;
      return true;
    }
    case ValueKind::kTimedCommand: {
      const std::size_t colon = value.find(':');
      double seconds = 0;
      std::string reason;
      if (colon == std::string::npos || !ParseSeconds(value.substr(0, colon), &seconds) ||
          colon + 1 == value.size() || !Expression::IsWellFormed(value.substr(colon + 1), &reason)) {
        *error = "bad value for " + name + ": '" + value + "' (SECONDS:COMMAND, e.g. 2.5:(playMode PlayOn))";
        return false;
      }
      options->scheduled.emplace_back(seconds, value.substr(colon + 1));
      return true;
    }
    case ValueKind::kFile:
      if (value.empty()) {
        *error = "bad value for " + name + ": a file name is needed";
        return false;
      }
      (name == "--trace" ? options->trace_file : options->svg_file) = value;
      return true;
  }
  return false;
}

}  // namespace

WorldConfig FieldOptions::ToWorldConfig() const {
  WorldConfig config;
  config.seed = seed;
  config.noise = noise;
  config.kickoff_after = kickoff_after;
  config.duration = duration;
  config.pushes = pushes;
  config.scheduled = scheduled;
  std::stable_sort(config.scheduled.begin(), config.scheduled.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  return config;
}

bool ParseFieldOptions(int argc, const char* const* argv, FieldOptions* options, std::string* error) {
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i] ? argv[i] : "";
    const std::size_t equals = arg.find('=');
    const std::string name = arg.substr(0, equals);
    const OptionRow* row = nullptr;
    for (const OptionRow& candidate : kOptionTable) {
      if (name == candidate.name) row = &candidate;
    }
    if (row == nullptr) {
      *error = (arg.compare(0, 1, "-") == 0 ? "unknown option: " : "unexpected argument: ") + arg;
      return false;
    }
    std::string value;
    if (row->kind == ValueKind::kNone) {
      if (equals != std::string::npos) {
        *error = "option " + name + " takes no value";
        return false;
      }
    } else if (equals != std::string::npos) {
      value = arg.substr(equals + 1);
    } else if (i + 1 < argc && argv[i + 1] != nullptr) {
      value = argv[++i];
    } else {
      *error = "option " + name + " needs a value";
      return false;
    }
    if (!Apply(*row, value, options, error)) return false;
  }
  if (options->pushes > 0 && options->duration < 0) {
    *error = "--pushes needs --duration: the pushes are spread over the match";
    return false;
  }
  if (options->players > 0 && !options->sync) {
    *error = "--players needs --sync: in real time the clock never waits";
    return false;
  }
  return true;
}

std::string FieldUsage() {
  return "usage: vektorling-sim [options]\n"
         "A practice field that speaks the simulation server's protocol.\n"
         "\n"
         "options:\n"
         "  --help                 print this text and exit\n"
         "  --port N               port for players (default 3100; 0 = any free port)\n"
         "  --trainer-port N       port for trainer commands (default 3200; 0 = any free port)\n"
         "  --sync                 synchronous mode: a step waits for \"(syn)\" from every player;\n"
         "                         with nobody playing, 20 ms steps in real time\n"
         "  --players N            with --sync: hold the clock at 0 until N players have joined (at\n"
         "                         most 10 s), so that a match does not depend on how fast they come\n"
         "  --seed N               seed of every random draw (default 1)\n"
         "  --no-noise             no noise on vision and beams\n"
         "  --kickoff-after S      kick-off after S simulated seconds (default: on a trainer command)\n"
         "  --duration S           end the match after S simulated seconds (default: run until stopped)\n"
         "  --pushes N             knock N random standing robots over at random moments of the match\n"
         "                         (onto their back or front; needs --duration; default 0)\n"
         "  --trace FILE           write one JSON line per step to FILE\n"
         "  --svg FILE             draw the field with every robot's path to FILE at the end\n"
         "  --progress             show the simulated seconds done on standard error\n"
         "  --progress-lines       the same as a line of its own every 10 simulated seconds (for logs)\n"
         "  --quiet                no notes about clients coming and going\n"
         "  --at S:COMMAND         carry out the trainer command COMMAND at S simulated seconds\n"
         "                         (repeatable; e.g. --at '2:(playMode PlayOn)')\n"
         "\n"
         "Values may follow the option after '=' or as the next argument.\n"
         "Players and trainers connect on 127.0.0.1; the chosen ports are printed at start.\n";
}
