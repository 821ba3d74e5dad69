#include <gtest/gtest.h>

#include <fcntl.h>
#include <netdb.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "../support/LoopbackServer.h"
#include "../support/PlayerProcess.h"
#include "../support/ServerStreams.h"
#include "../support/UdpListener.h"
#include "main/Sim3D.h"

namespace {

using LS = LoopbackServer;

// What a scripted server saw of the player.
struct Transcript {
  std::string scene;
  std::string init;
  std::vector<std::string> answers;
  std::string after;  // bytes that arrived once no answer was due
};

// The start-up exchange: scene command, first message, init command.
bool StartUp(int fd, Transcript& t) {
  return framing::ReadFrame(fd, t.scene) && framing::SendAll(fd, framing::Frame(streams::RecordedVisionMessage())) &&
         framing::ReadFrame(fd, t.init);
}

// Sends one message and waits for its answer.
bool Exchange(int fd, Transcript& t) {
  std::string answer;
  if (!framing::SendAll(fd, framing::Frame(streams::RecordedVisionMessage())) || !framing::ReadFrame(fd, answer))
    return false;
  t.answers.push_back(answer);
  return true;
}

TEST(PlayerProcessTest, FailedConnectionExitsWithStatus1AndBadOptionsWith2) {
  std::string output;
  std::atomic<pid_t> pid(0);
  EXPECT_EQ(1, RunPlayer({"--port=" + std::to_string(LS::ClosedPort())}, output, pid));
  EXPECT_EQ("connection failed with: '" + std::string(std::strerror(ECONNREFUSED)) + "'\n", output);
  // One line each, before any connection (the port is closed).
  const struct {
    const char* option;
    std::string line;
  } kBad[] = {
      {"--tactics=goalie", "unknown tactics 'goalie' (known: default, ball)"},
      {"--draw=:32769", "cannot draw to ':32769' (no host)"},
      {"--draw=127.0.0.1:0", "cannot draw to '127.0.0.1:0' (the port must be a number from 1 to 65535)"},
      {"--draw=127.0.0.1:65536", "cannot draw to '127.0.0.1:65536' (the port must be a number from 1 to 65535)"},
      {"--draw=localhost:12a", "cannot draw to 'localhost:12a' (the port must be a number from 1 to 65535)"},
      {"--draw=999.1.1.1", "cannot draw to '999.1.1.1' (" + std::string(::gai_strerror(EAI_NONAME)) + ")"},
  };
  for (const auto& c : kBad) {
    output.clear();
    EXPECT_EQ(2, RunPlayer({c.option, "--port=" + std::to_string(LS::ClosedPort())}, output, pid));
    EXPECT_EQ(c.line + "\n", output);
  }
  // A bad parameter file ends the player before it connects (the port is closed).
  const std::string params = ::testing::TempDir() + "vektorling-bad-params.txt";
  std::ofstream(params) << "walk.max_speed = 2\n";
  output.clear();
  EXPECT_EQ(2, RunPlayer({"--params=" + params, "--port=" + std::to_string(LS::ClosedPort())}, output, pid));
  EXPECT_EQ(params + ":1: walk.max_speed: 2 is outside 0 .. 1\n", output);
  std::remove(params.c_str());
}

// The trace's lines, each checked to be a whole JSON object.
std::vector<std::string> TraceLines(const std::string& path) {
  std::vector<std::string> lines;
  std::ifstream in(path);
  for (std::string line; std::getline(in, line);) {
    EXPECT_TRUE(line.size() > 2 && line.front() == '{' && line.back() == '}') << line;
    lines.push_back(line);
  }
  return lines;
}

TEST(PlayerProcessTest, AnswersEachMessageUntilTheServerLeavesOrASignalAndKeepsItsTrace) {
  // signal 0: the server leaves after one message. SIGINT and SIGTERM arrive
  // while the player waits for message 2: it answers that one, then closes.
  // SIGKILL: nothing more is answered, but the trace keeps every line written.
  const struct {
    int signal;
    int exit_status;  // -1: killed
    unsigned answers;
  } kCases[] = {{0, 0, 1}, {SIGINT, 0, 2}, {SIGTERM, 0, 2}, {SIGKILL, -1, 1}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.signal);
    const std::string trace = ::testing::TempDir() + "vektorling-trace-" + std::to_string(c.signal);
    std::remove(trace.c_str());
    Transcript t;
    std::atomic<pid_t> pid(0);
    LS server([&](int& fd) {
      if (!StartUp(fd, t) || !Exchange(fd, t) || c.signal == 0) return;
      LS::Pause(250);  // the player now waits for message 2
      if (pid > 0) ::kill(pid, c.signal);
      LS::Pause(50);
      if (!Exchange(fd, t)) return;
      // Not answered: the loop has ended with message 2.
      framing::SendAll(fd, framing::Frame(streams::RecordedVisionMessage()));
      t.after = framing::ReadUntilClosed(fd);
    });
    std::string output;
    EXPECT_EQ(c.exit_status,
              RunPlayer({"--host=127.0.0.1", "--port=" + std::to_string(server.port()),
                         "--team=Blue", "--num=3", "--syn=1", "--type=2", "--trace=" + trace},
                        output, pid));
    server.Join();
    EXPECT_EQ("(scene rsg/agent/nao/nao_hetero.rsg 2)", t.scene);
    EXPECT_EQ("(init (unum 3)(teamname Blue))", t.init);
    ASSERT_EQ(c.answers, t.answers.size());
    for (const std::string& answer : t.answers) {
      EXPECT_TRUE(answer.size() > 5 && answer.compare(answer.size() - 5, 5, "(syn)") == 0)
          << answer;
    }
    EXPECT_EQ("", t.after);
    EXPECT_EQ(c.answers, TraceLines(trace).size());
    EXPECT_EQ(c.exit_status == 0,
              output.find("closed connection to 127.0.0.1:" + std::to_string(server.port())) !=
                  std::string::npos);
  }
}

// With --draw the player sends its drawings after each answer to a message
// with vision (each cycle's last datagram ends with the swap of its sets),
// and plays on, with one line, when nobody listens for them.
TEST(PlayerProcessTest, DrawsAfterEachMessageWithVisionAndPlaysOnWhenNobodyListens) {
  const std::vector<std::string> recorded = streams::Recorded();
  const std::vector<std::string> messages(recorded.begin() + 1, recorded.begin() + 10);  // 3 with vision
  const char kSwap[] = "\0\0vektorling.Blue.3.";  // and the literal's zero byte
  const std::string swap(kSwap, sizeof kSwap);
  for (bool listening : {true, false}) {
    SCOPED_TRACE(listening);
    UdpListener viewer;
    const std::string port = std::to_string(viewer.port());
    if (!listening) viewer.Close();
    Transcript t;
    LS server([&](int& fd) {
      if (!StartUp(fd, t)) return;
      for (const std::string& m : messages) {
        std::string answer;
        if (!framing::SendAll(fd, framing::Frame(m)) || !framing::ReadFrame(fd, answer)) return;
        t.answers.push_back(answer);
      }
    });
    std::string output;
    std::atomic<pid_t> pid(0);
    EXPECT_EQ(0, RunPlayer({"--port=" + std::to_string(server.port()), "--team=Blue", "--num=3",
                            "--draw=127.0.0.1:" + port},
                           output, pid));
    server.Join();
    EXPECT_EQ(messages.size(), t.answers.size());
    int swaps = 0;
    for (const std::string& d : viewer.Take()) {
      swaps += d.size() >= swap.size() && d.compare(d.size() - swap.size(), swap.size(), swap) == 0;
    }
    EXPECT_EQ(listening ? 3 : 0, swaps);
    EXPECT_EQ((listening ? "" : "cannot send drawings to 127.0.0.1:" + port + " (" + std::strerror(ECONNREFUSED) +
                                     "); playing on, further failures are not shown\n") +
                  "closed connection to 127.0.0.1:" + std::to_string(server.port()) + "\n",
              output);
  }
}

// The player is ready before it connects: with its trace file a FIFO that
// nobody reads yet, opening it blocks, and no connection may come meanwhile.
// Then a server that never answers the scene command gets a new connection,
// and the match goes on on that one; in synchronous mode a server that is
// silent after the init command gets a "(syn)".
TEST(PlayerProcessTest, JoinsReadyAndConnectsAgainWhenTheServerStaysSilent) {
  const std::string fifo = ::testing::TempDir() + "vektorling-trace-fifo";
  std::remove(fifo.c_str());
  ASSERT_EQ(0, ::mkfifo(fifo.c_str(), 0600));
  std::atomic<bool> connected(false);
  std::string scenes[2], silent_rest, syn;
  Transcript t;
  LS server(2, [&](int& fd, int index) {
    connected = true;
    if (!framing::ReadFrame(fd, scenes[index])) return;
    if (index == 0) {
      silent_rest = framing::ReadUntilClosed(fd, 5000);  // the player gives up on this one
      return;
    }
    if (!framing::SendAll(fd, framing::Frame(streams::RecordedVisionMessage())) ||
        !framing::ReadFrame(fd, t.init) || !framing::ReadFrame(fd, syn))
      return;
    Exchange(fd, t);
  });
  int out[2];
  ASSERT_EQ(0, ::pipe2(out, O_CLOEXEC));
  const pid_t pid = StartPlayer({"--port=" + std::to_string(server.port()), "--type=4", "--num=5",
                                 "--join-wait=0.3", "--syn=1", "--trace=" + fifo},
                                out[1]);
  ::close(out[1]);
  ASSERT_GT(pid, 0);
  LS::Pause(300);
  EXPECT_FALSE(connected) << "connected before its trace file was open";
  const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  ASSERT_GE(reader, 0);
  server.Join();
  int status = -1;
  ::waitpid(pid, &status, 0);
  char buf[4096];
  std::string output, trace;
  for (ssize_t n; (n = ::read(out[0], buf, sizeof buf)) > 0;) output.append(buf, n);
  for (ssize_t n; (n = ::read(reader, buf, sizeof buf)) > 0;) trace.append(buf, n);
  ::close(out[0]);
  ::close(reader);
  std::remove(fifo.c_str());

  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
  for (const std::string& scene : scenes) EXPECT_EQ("(scene rsg/agent/nao/nao_hetero.rsg 4)", scene);
  EXPECT_EQ("", silent_rest);
  EXPECT_EQ("(init (unum 5)(teamname Agent))", t.init);
  EXPECT_EQ("(syn)", syn);
  EXPECT_EQ(1u, t.answers.size());
  EXPECT_EQ(1, std::count(trace.begin(), trace.end(), '\n'));
  EXPECT_EQ("no answer from 127.0.0.1:" + std::to_string(server.port()) +
                " within 0.3 s of the scene command; connecting again (2 of 10)\n"
                "no message from 127.0.0.1:" + std::to_string(server.port()) +
                " within 0.3 s of the init command; sending (syn)\n"
                "closed connection to 127.0.0.1:" + std::to_string(server.port()) + "\n",
            output);
}

}  // namespace
