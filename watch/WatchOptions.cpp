#include "WatchOptions.h"

#include "OptionValues.h"

namespace {

enum class ValueKind { kNone, kText, kPort, kCount, kSeconds };

struct OptionRow {
  const char* name;
  ValueKind kind;
};

const OptionRow kOptionTable[] = {
    {"--help", ValueKind::kNone},          {"--host", ValueKind::kText},
    {"--port", ValueKind::kPort},          {"--trace", ValueKind::kText},
    {"--svg", ValueKind::kText},           {"--send", ValueKind::kText},
    {"--wait-robots", ValueKind::kCount},  {"--wait-timeout", ValueKind::kSeconds},
    {"--until", ValueKind::kSeconds},      {"--frames", ValueKind::kCount},
    {"--print-last", ValueKind::kNone},    {"--progress", ValueKind::kNone},
};

constexpr long kMaxRobots = 22;
constexpr long kMaxFrames = 1000000000L;

using OptionValues::ParseLong;
using OptionValues::ParseSeconds;

bool Apply(const std::string& name, ValueKind kind, const std::string& value, WatchOptions* options,
           std::string* error) {
  long number = 0;
  double seconds = 0;
  switch (kind) {
    case ValueKind::kNone:
      if (name == "--help") options->help = true;
      else if (name == "--print-last") options->print_last = true;
      else if (name == "--progress") options->plan.progress = true;
      return true;
    case ValueKind::kText:
      if (value.empty()) {
        *error = "option " + name + " needs a value that is not empty";
        return false;
      }
      if (name == "--host") options->host = value;
      else if (name == "--trace") options->trace_file = value;
      else if (name == "--svg") options->svg_file = value;
      else options->plan.commands.push_back(value);
      return true;
    case ValueKind::kPort:
      if (!ParseLong(value, 1, 65535, &number)) {
        *error = "bad value for " + name + ": '" + value + "' (a port number from 1 to 65535)";
        return false;
      }
      options->port = static_cast<int>(number);
      return true;
    case ValueKind::kCount: {
      const bool robots = name == "--wait-robots";
      if (!ParseLong(value, 0, robots ? kMaxRobots : kMaxFrames, &number)) {
        *error = "bad value for " + name + ": '" + value + "' (a whole number from 0 to " +
                 std::to_string(robots ? kMaxRobots : kMaxFrames) + ")";
        return false;
      }
      if (robots) options->plan.wait_robots = static_cast<int>(number);
      else options->plan.frames = number;
      return true;
    }
    case ValueKind::kSeconds:
      if (!ParseSeconds(value, &seconds) || (name == "--wait-timeout" && seconds <= 0)) {
        *error = "bad value for " + name + ": '" + value + "' (seconds, " +
                 (name == "--wait-timeout" ? "above 0)" : "0 or more)");
        return false;
      }
      if (name == "--wait-timeout") options->wait_timeout = seconds;
      else options->plan.until = seconds;
      return true;
  }
  return false;
}

}  // namespace

bool ParseWatchOptions(int argc, const char* const* argv, WatchOptions* options, std::string* error) {
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
    if (row->kind == ValueKind::kNone && equals != std::string::npos) {
      *error = "option " + name + " takes no value";
      return false;
    }
    if (row->kind != ValueKind::kNone && equals == std::string::npos) {
      *error = "option " + name + " needs a value: " + name + "=...";
      return false;
    }
    const std::string value = equals == std::string::npos ? std::string() : arg.substr(equals + 1);
    if (!Apply(name, row->kind, value, options, error)) return false;
  }
  return true;
}

std::string WatchUsage() {
  return "usage: vektorling-watch [options]\n"
         "Watches a match through the simulation server's monitor port and writes what the server\n"
         "says happens: ball, robots (team, side, number, torso position, heading, fallen), game\n"
         "time, play mode and score, frame by frame.\n"
         "\n"
         "options (values after '='):\n"
         "  --help              print this text and exit\n"
         "  --host=H            the server's host (default 127.0.0.1)\n"
         "  --port=N            the server's monitor port (default 3200)\n"
         "  --trace=FILE        one JSON line per frame, as the practice field's trace\n"
         "  --svg=FILE          the field with every robot's path and the ball's, at the end\n"
         "  --send=CMD          a trainer command, sent once the first full state has come (and the\n"
         "                      robots of --wait-robots); repeat it for more, sent in order\n"
         "  --wait-robots=N     send only once N robots with side and number are on the field\n"
         "  --wait-timeout=S    give up waiting for them after S seconds of wall time (default 120;\n"
         "                      exit status 3)\n"
         "  --until=S           stop once the game time reaches S seconds\n"
         "  --frames=N          stop after N more frames once the commands are sent\n"
         "  --print-last        print the last state's trace line on standard output at the end\n"
         "  --progress          a line on standard error every 10 s of game time\n"
         "\n"
         "Without --until or --frames it runs until the server closes or Ctrl-C / SIGTERM.\n"
         "Exit status: 0 done; 1 no connection, or the server closed before any frame;\n"
         "2 bad options; 3 the robots of --wait-robots did not come.\n";
}
