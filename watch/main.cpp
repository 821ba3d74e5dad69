// vektorling-watch: the server's truth about a match, read from its monitor
// stream: where the ball and every robot are, frame by frame, written as the
// practice field writes its trace and picture.

#include <chrono>
#include <csignal>
#include <iostream>
#include <sstream>
#include <string>

#include "MonitorClient.h"
#include "SvgPlot.h"
#include "Trace.h"
#include "WatchOptions.h"
#include "WatchSession.h"

namespace {

volatile std::sig_atomic_t g_stop = 0;

void HandleStopSignal(int) { g_stop = 1; }

void InstallHandlers() {
  struct sigaction action {};
  action.sa_handler = HandleStopSignal;
  sigemptyset(&action.sa_mask);
  // No SA_RESTART: a signal ends the wait for the next frame at once.
  sigaction(SIGINT, &action, nullptr);
  sigaction(SIGTERM, &action, nullptr);
  std::signal(SIGPIPE, SIG_IGN);
}

void Note(const std::string& line) { std::cerr << "vektorling-watch: " << line << std::endl; }

// How long to wait for one frame before looking at signals and the clock.
constexpr int kPollMs = 200;
// How long the server may take to close after we have.
constexpr int kDrainMs = 1000;

bool WaitingForRobots(const WatchSession& session) {
  return session.CurrentPhase() == WatchSession::Phase::kWaitScene ||
         session.CurrentPhase() == WatchSession::Phase::kWaitRobots;
}

std::string RobotsThere(const WatchSession& session, int wanted) {
  const std::size_t there = session.HasState() ? session.Last().robots.size() : 0;
  return std::to_string(there) + " of " + std::to_string(wanted) + " robots with side and number";
}

// Follows the stream until a stop condition, the server's close or a signal;
// returns the exit status.
int Watch(const WatchOptions& options, MonitorClient* client, Trace* trace, SvgPlot* plot, WatchSession* session) {
  const auto start = std::chrono::steady_clock::now();
  const int wanted = options.plan.wait_robots;
  std::string frame, error;
  while (g_stop == 0) {
    if (wanted > 0 && WaitingForRobots(*session) &&
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count() >= options.wait_timeout) {
      std::ostringstream seconds;
      seconds << options.wait_timeout;
      Note("gave up waiting after " + seconds.str() + " s: " + RobotsThere(*session, wanted));
      return 3;
    }
    switch (client->Next(kPollMs, &frame)) {
      case MonitorClient::ReadResult::kTimeout:
        continue;
      case MonitorClient::ReadResult::kTooLong:
        Note("a frame longer than " + std::to_string(MonitorClient::kMaxFrame) + " bytes; the stream cannot be followed");
        return session->HasState() ? 0 : 1;
      case MonitorClient::ReadResult::kClosed:
        if (!session->HasState()) {
          Note("the server closed the connection before any frame");
          return 1;
        }
        if (wanted > 0 && WaitingForRobots(*session)) {
          Note("the server closed the connection with " + RobotsThere(*session, wanted));
          return 3;
        }
        return 0;
      case MonitorClient::ReadResult::kFrame:
        break;
    }
    const FrameOutcome outcome = session->OnFrame(frame);
    for (const std::string& line : outcome.notes) Note(line);
    if (outcome.taken) {
      trace->Write(session->Last());
      plot->Add(session->Last());
    }
    for (const std::string& command : outcome.send) {
      if (!client->Send(command, &error)) Note("cannot send " + command + ": " + error);
    }
    if (outcome.done) return 0;
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  WatchOptions options;
  std::string error;
  if (!ParseWatchOptions(argc, argv, &options, &error)) {
    Note(error + " (see --help)");
    return 2;
  }
  if (options.help) {
    std::cout << WatchUsage();
    return 0;
  }
  Trace trace;
  if (!options.trace_file.empty() && !trace.Open(options.trace_file, &error)) {
    Note(error);
    return 2;
  }
  MonitorClient client;
  if (!client.Connect(options.host, options.port, &error)) {
    Note("cannot connect to " + options.host + ":" + std::to_string(options.port) + ": " + error);
    return 1;
  }
  InstallHandlers();
  SvgPlot plot;
  WatchSession session(options.plan);
  const int status = Watch(options, &client, &trace, &plot, &session);
  client.Finish(kDrainMs);
  trace.Close();
  if (options.print_last && session.HasState()) {
    std::string line;
    Trace::FormatLine(session.Last(), &line);
    std::cout << line << std::endl;
  }
  if (!options.svg_file.empty() && !plot.Write(options.svg_file, &error)) {
    Note(error);
    return status == 0 ? 1 : status;
  }
  return status;
}
