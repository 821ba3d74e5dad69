// The vektorling-watch program: its command line, and the program run
// against a stand-in monitor port that plays the recorded stream
// (tests/data/monitor-stream.txt) and reads what the watcher sends.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <csignal>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "../support/Framing.h"
#include "../support/LoopbackServer.h"
#include "../support/PlayerProcess.h"
#include "MonitorRecording.h"
#include "Trace.h"
#include "WatchOptions.h"
#include "WatchSession.h"

namespace {

struct OptionsRow {
  std::vector<const char*> args;
  const char* error;  // part of the one line; empty: accepted
};

TEST(WatchOptionsTest, ValuesAfterTheEqualsSignAndOneLineForWhatIsWrong) {
  const std::vector<OptionsRow> rows = {
      {{}, ""},
      {{"--bogus"}, "unknown option: --bogus"},
      {{"stray"}, "unexpected argument: stray"},
      {{"--port", "24200"}, "option --port needs a value: --port=..."},
      {{"--port=0"}, "bad value for --port: '0'"},
      {{"--send="}, "option --send needs a value that is not empty"},
      {{"--wait-robots=23"}, "bad value for --wait-robots: '23' (a whole number from 0 to 22)"},
      {{"--frames=-1"}, "bad value for --frames"},
      {{"--wait-timeout=0"}, "bad value for --wait-timeout: '0' (seconds, above 0)"},
      {{"--until=nan"}, "bad value for --until"},
      {{"--print-last=1"}, "option --print-last takes no value"},
  };
  for (const OptionsRow& row : rows) {
    std::vector<const char*> argv = {"vektorling-watch"};
    argv.insert(argv.end(), row.args.begin(), row.args.end());
    WatchOptions options;
    std::string error;
    const bool ok = ParseWatchOptions(static_cast<int>(argv.size()), argv.data(), &options, &error);
    SCOPED_TRACE(argv.size() > 1 ? argv[1] : "(none)");
    EXPECT_EQ(*row.error == '\0', ok) << error;
    EXPECT_NE(std::string::npos, error.find(row.error)) << error;
    EXPECT_EQ(std::string::npos, error.find('\n'));
  }
  const char* all[] = {"vektorling-watch", "--host=example.org", "--port=24200", "--trace=t.jsonl", "--svg=f.svg",
                       "--send=(playMode PlayOn)", "--send=(kickOff Left)", "--wait-robots=2", "--wait-timeout=2.5",
                       "--until=30", "--frames=7", "--print-last", "--progress"};
  WatchOptions o;
  std::string error;
  ASSERT_TRUE(ParseWatchOptions(13, all, &o, &error)) << error;
  EXPECT_EQ(std::make_tuple(std::string("example.org"), 24200, std::string("t.jsonl"), std::string("f.svg"), 2, 2.5, 30.0,
                            7L, true, true),
            std::make_tuple(o.host, o.port, o.trace_file, o.svg_file, o.plan.wait_robots, o.wait_timeout, o.plan.until,
                            o.plan.frames, o.print_last, o.plan.progress));
  EXPECT_EQ((std::vector<std::string>{"(playMode PlayOn)", "(kickOff Left)"}), o.plan.commands);
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::stringstream all;
  all << in.rdbuf();
  return all.str();
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

struct WatchRun {
  int status = -1;  // exit status; -1 when it had to be killed
  std::string out, err;
};

// Runs vektorling-watch with the arguments; its process id goes to *pid while
// it runs. It is killed if it has not ended after 30 s.
WatchRun RunWatch(const std::vector<std::string>& args, std::atomic<pid_t>* pid = nullptr) {
  const std::string base = ::testing::TempDir() + "watch-run-" + std::to_string(::getpid());
  const std::string out_path = base + ".out", err_path = base + ".err";
  const int out_fd = ::open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  const int err_fd = ::open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
  WatchRun run;
  const pid_t child = StartProgram("vektorling-watch", args, out_fd, err_fd);
  ::close(out_fd);
  ::close(err_fd);
  if (pid != nullptr) *pid = child;
  int status = 0;
  pid_t done = 0;
  for (int waited = 0; (done = ::waitpid(child, &status, WNOHANG)) == 0 && waited < 3000; ++waited) ::usleep(10000);
  if (done == 0) {
    ::kill(child, SIGKILL);
    ::waitpid(child, &status, 0);
  } else if (WIFEXITED(status)) {
    run.status = WEXITSTATUS(status);
  }
  run.out = ReadFile(out_path);
  run.err = ReadFile(err_path);
  std::remove(out_path.c_str());
  std::remove(err_path.c_str());
  return run;
}

// Reads the watcher's commands until it closes the connection; false when it
// stays silent for 20 s without closing.
bool ReadUntilTheWatcherCloses(int fd, std::vector<std::string>* commands) {
  for (;;) {
    char byte;
    if (!framing::WaitReadable(fd, 20000)) return false;
    const ssize_t n = ::recv(fd, &byte, 1, MSG_PEEK);
    if (n == 0) return true;
    std::string command;
    if (n < 0 || !framing::ReadFrame(fd, command)) return false;
    if (commands != nullptr) commands->push_back(command);
  }
}

void SendFrames(int fd, const std::vector<std::string>& frames) {
  for (const std::string& frame : frames) ASSERT_TRUE(framing::SendAll(fd, framing::Frame(frame)));
}

TEST(WatchProgramTest, SendsItsCommandsWhenTheRobotsAreThereAndPrintsTheLastState) {
  const std::vector<std::string> frames = MonitorRecording();
  ASSERT_EQ(15u, frames.size());
  std::vector<std::string> received;
  LoopbackServer server([&](int& fd) {
    SendFrames(fd, frames);
    EXPECT_TRUE(ReadUntilTheWatcherCloses(fd, &received));
  });
  const std::string base = ::testing::TempDir() + "watch-program-" + std::to_string(::getpid());
  const WatchRun run = RunWatch({"--port=" + std::to_string(server.port()), "--send=(playMode PlayOn)",
                            "--send=(kickOff Left)", "--wait-robots=2", "--frames=3", "--print-last",
                            "--trace=" + base + ".jsonl", "--svg=" + base + ".svg"});
  server.Join();
  EXPECT_EQ(0, run.status) << run.err;
  EXPECT_EQ("", run.err);
  EXPECT_EQ((std::vector<std::string>{"(playMode PlayOn)", "(kickOff Left)"}), received);
  // Sent at frame 4, the first with two robots in teams; three frames more.
  const std::vector<std::string> trace = Lines(ReadFile(base + ".jsonl"));
  WatchSession session{WatchPlan()};
  std::vector<std::string> expected;
  for (int i = 0; i <= 7; ++i) {
    session.OnFrame(frames[i]);
    expected.emplace_back();
    Trace::FormatLine(session.Last(), &expected.back());
  }
  EXPECT_EQ(expected, trace);
  EXPECT_EQ(expected.back() + "\n", run.out);
  const std::string svg = ReadFile(base + ".svg");
  EXPECT_EQ(0u, svg.find("<svg")) << svg.substr(0, 80);
  EXPECT_NE(std::string::npos, svg.find("Alpha"));
  EXPECT_NE(std::string::npos, svg.find("Beta"));
  std::remove((base + ".jsonl").c_str());
  std::remove((base + ".svg").c_str());
}

struct EndRow {
  const char* name;
  std::vector<std::string> args;                // besides --port
  std::function<void(int& fd)> script;          // the monitor port's side; none: nobody listens
  int status;
  const char* err;                              // part of standard error; the one line expected
  std::size_t trace_lines;                      // kUnchecked: as many as came in time
};

constexpr std::size_t kUnchecked = ~std::size_t{0};

TEST(WatchProgramTest, ExitStatusAndOneLineForEveryWayItEnds) {
  const std::vector<std::string> frames = MonitorRecording();
  ASSERT_EQ(15u, frames.size());
  // Plays the frames, then reads until the watcher closes, as it must by
  // itself.
  auto play = [](std::vector<std::string> which) {
    return [which](int& fd) {
      SendFrames(fd, which);
      EXPECT_TRUE(ReadUntilTheWatcherCloses(fd, nullptr));
    };
  };
  const std::vector<EndRow> rows = {
      {"nobody listens", {}, nullptr, 1, "cannot connect to 127.0.0.1:", 0},
      {"the server closes before any frame", {}, [](int&) {}, 1,
       "vektorling-watch: the server closed the connection before any frame", 0},
      {"the server closes after some frames", {}, [&frames](int& fd) { SendFrames(fd, {frames[0], frames[1]}); }, 0, "",
       2},
      {"a bad frame between good ones", {"--frames=2"}, play({frames[0], "((time 0)", frames[1], frames[2]}), 0,
       "vektorling-watch: frame 2 skipped: 1 list(s) left open at the end", 3},
      {"the robots do not come", {"--wait-robots=3", "--wait-timeout=0.3"}, play(frames), 3,
       "vektorling-watch: gave up waiting after 0.3 s: 2 of 3 robots with side and number", kUnchecked},
      {"the server closes while the robots are awaited", {"--wait-robots=3"},
       [&frames](int& fd) { SendFrames(fd, frames); }, 3,
       "vektorling-watch: the server closed the connection with 2 of 3 robots with side and number", 15},
      {"a frame too long to follow", {}, [](int& fd) { framing::SendAll(fd, framing::Header(0x7fffffff)); }, 1,
       "vektorling-watch: a frame longer than 16777216 bytes; the stream cannot be followed", 0},
      {"an unknown option", {"--bogus"}, nullptr, 2, "vektorling-watch: unknown option: --bogus (see --help)", 0},
      {"a trace file that cannot be written", {"--trace=/nonexistent-dir/t.jsonl"}, nullptr, 2,
       "cannot write trace file '/nonexistent-dir/t.jsonl'", 0},
  };
  for (const EndRow& row : rows) {
    SCOPED_TRACE(row.name);
    const std::string trace = ::testing::TempDir() + "watch-end-" + std::to_string(::getpid()) + ".jsonl";
    std::vector<std::string> args = row.args;
    if (args.empty() || args[0].compare(0, 8, "--trace=") != 0) args.push_back("--trace=" + trace);
    WatchRun run;
    if (row.script) {
      LoopbackServer server(row.script);
      args.push_back("--port=" + std::to_string(server.port()));
      run = RunWatch(args);
    } else {
      args.push_back("--port=" + std::to_string(LoopbackServer::ClosedPort()));
      run = RunWatch(args);
    }
    EXPECT_EQ(row.status, run.status) << run.err;
    const std::vector<std::string> err = Lines(run.err);
    if (*row.err == '\0') {
      EXPECT_TRUE(err.empty()) << run.err;
    } else {
      ASSERT_EQ(1u, err.size()) << run.err;
      EXPECT_NE(std::string::npos, err[0].find(row.err)) << err[0];
    }
    if (row.trace_lines != kUnchecked) {
      EXPECT_EQ(row.trace_lines, Lines(ReadFile(trace)).size());
    }
    EXPECT_EQ("", run.out);
    std::remove(trace.c_str());
  }
}

TEST(WatchProgramTest, ASignalEndsItWithTheTraceWrittenAndHelpPrintsTheUsage) {
  const std::vector<std::string> frames = MonitorRecording();
  ASSERT_EQ(15u, frames.size());
  std::atomic<pid_t> pid{-1};
  std::string asked;
  // A full state, then a diff that does not fit it: the watcher's request
  // for a full state shows that it has taken the first frame.
  LoopbackServer server([&](int& fd) {
    SendFrames(fd, {frames[4], frames[1]});
    if (framing::ReadFrame(fd, asked) && pid > 0) ::kill(pid, SIGTERM);
    EXPECT_TRUE(ReadUntilTheWatcherCloses(fd, nullptr));
  });
  const std::string trace = ::testing::TempDir() + "watch-signal-" + std::to_string(::getpid()) + ".jsonl";
  const WatchRun run = RunWatch({"--port=" + std::to_string(server.port()), "--trace=" + trace, "--print-last"}, &pid);
  server.Join();
  EXPECT_EQ("(reqfullstate)", asked);
  EXPECT_EQ(0, run.status) << run.err;
  const std::vector<std::string> lines = Lines(ReadFile(trace));
  ASSERT_EQ(1u, lines.size());
  EXPECT_EQ(lines[0] + "\n", run.out);
  EXPECT_NE(std::string::npos, lines[0].find("\"team\":\"Beta\",\"side\":\"R\",\"unum\":1,\"pos\":[14.2009,9.2000,"));
  std::remove(trace.c_str());

  const WatchRun help = RunWatch({"--help"});
  EXPECT_EQ(0, help.status);
  EXPECT_EQ(0u, help.out.find("usage: vektorling-watch [options]\n"));
  EXPECT_EQ("", help.err);
}

}  // namespace
