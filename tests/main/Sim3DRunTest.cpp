#include <sys/socket.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <atomic>
#include <csignal>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../net/LoopbackServer.h"
#include "main/Sim3D.h"

namespace {

// A perceptor message of a robot standing still before the kick-off.
std::string ServerMessage(int step) {
  static const char* const kJoints[] = {
      "hj1",  "hj2",  "raj1", "raj2", "raj3", "raj4", "laj1", "laj2",
      "laj3", "laj4", "rlj1", "rlj2", "rlj3", "rlj4", "rlj5", "rlj6",
      "llj1", "llj2", "llj3", "llj4", "llj5", "llj6"};
  std::ostringstream m;
  m << "(time (now " << 0.5 + 0.02 * step << "))"
    << "(GS (sl 0) (sr 0) (t 0.00) (pm BeforeKickOff))"
    << "(GYR (n torso) (rt 0.00 0.00 0.00))(ACC (n torso) (a 0.00 0.00 9.81))";
  for (const char* joint : kJoints) m << "(HJ (n " << joint << ") (ax 0.00))";
  m << "(FRP (n rf) (c 0.00 0.00 -0.01) (f 0.00 0.00 22.00))"
    << "(FRP (n lf) (c 0.00 0.00 -0.01) (f 0.00 0.00 22.00))";
  return m.str();
}

// What a scripted server saw of the player.
struct Transcript {
  std::string scene;
  std::string init;
  std::vector<std::string> answers;
  std::string after;  // bytes that arrived once no answer was due
};

// The start-up exchange: scene command, first message, init command.
bool StartUp(int fd, Transcript& t) {
  return LoopbackServer::ReadFrame(fd, t.scene) &&
         LoopbackServer::SendAll(fd, LoopbackServer::Frame(ServerMessage(0))) &&
         LoopbackServer::ReadFrame(fd, t.init);
}

// Sends one message and waits for its answer.
bool Exchange(int fd, int step, Transcript& t) {
  std::string answer;
  if (!LoopbackServer::SendAll(fd, LoopbackServer::Frame(ServerMessage(step))) ||
      !LoopbackServer::ReadFrame(fd, answer)) {
    return false;
  }
  t.answers.push_back(answer);
  return true;
}

class Sim3DRunTest : public ::testing::Test {
 protected:
  void SetUp() override { Sim3D::ResetSettings(); }
  void TearDown() override { Sim3D::ResetSettings(); }
};

TEST_F(Sim3DRunTest, StartUpThenOneAnswerPerMessageUntilServerCloses) {
  Transcript t;
  LoopbackServer server([&](int& fd) {
    if (!StartUp(fd, t)) return;
    for (int step = 1; step <= 4; ++step) {
      if (!Exchange(fd, step, t)) return;
    }
    ::shutdown(fd, SHUT_WR);  // the server goes away
    t.after = LoopbackServer::ReadUntilClosed(fd);
  });
  Sim3D::gPort_ = server.port();
  Sim3D::gNum_ = 7;
  Sim3D::gTeamName_ = "T";
  Sim3D::gSynMode_ = true;
  ASSERT_TRUE(Sim3D::Init());
  ::testing::internal::CaptureStdout();
  Sim3D::Run();
  EXPECT_FALSE(Sim3D::main_loop_);
  Sim3D::Done();
  const std::string out = ::testing::internal::GetCapturedStdout();
  server.Join();

  EXPECT_EQ("(scene rsg/agent/nao/nao_hetero.rsg 0)", t.scene);
  EXPECT_EQ("(init (unum 7)(teamname T))", t.init);
  ASSERT_EQ(4u, t.answers.size());
  for (const std::string& answer : t.answers) {
    EXPECT_NE(std::string::npos, answer.find("(syn)")) << answer;
  }
  EXPECT_EQ("", t.after);
  EXPECT_NE(std::string::npos,
            out.find("closed connection to 127.0.0.1:" + std::to_string(server.port()) + "\n"));
}

TEST_F(Sim3DRunTest, InterruptEndsLoopAfterCurrentMessageIsAnswered) {
  Transcript t;
  LoopbackServer server([&](int& fd) {
    if (!StartUp(fd, t) || !Exchange(fd, 1, t)) return;
    LoopbackServer::Pause(250);  // the player now waits for message 2
    handler(2);
    if (!Exchange(fd, 2, t)) return;
    // Not answered: the loop has ended. The connection stays open until
    // the player closes it.
    LoopbackServer::SendAll(fd, LoopbackServer::Frame(ServerMessage(3)));
    t.after = LoopbackServer::ReadUntilClosed(fd);
  });
  Sim3D::gPort_ = server.port();
  Sim3D::gType_ = 2;
  ASSERT_TRUE(Sim3D::Init());
  ::testing::internal::CaptureStdout();
  Sim3D::Run();
  EXPECT_TRUE(Sim3D::gSocket_.isConnected());
  Sim3D::Done();
  ::testing::internal::GetCapturedStdout();
  server.Join();

  EXPECT_EQ("(scene rsg/agent/nao/nao_hetero.rsg 2)", t.scene);
  EXPECT_EQ("(init (unum 0)(teamname Agent))", t.init);
  EXPECT_EQ(2u, t.answers.size());
  EXPECT_EQ("", t.after);
}

TEST_F(Sim3DRunTest, ServerLeavingDuringStartUpEndsRun) {
  std::string scene;
  LoopbackServer server([&](int& fd) { LoopbackServer::ReadFrame(fd, scene); });
  Sim3D::gPort_ = server.port();
  ASSERT_TRUE(Sim3D::Init());
  ::testing::internal::CaptureStdout();
  Sim3D::Run();  // the init command then goes to a closed connection
  ::testing::internal::GetCapturedStdout();
  EXPECT_FALSE(Sim3D::main_loop_);
  EXPECT_EQ("(scene rsg/agent/nao/nao_hetero.rsg 0)", scene);
}

// The player program itself, started as a child process.
class PlayerProcessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    binary_ = std::string(VEKTORLING_BINARY_DIR) + "/vektorling";
    if (::access(binary_.c_str(), X_OK) != 0) GTEST_SKIP() << binary_ << " not built";
    char name[] = "/tmp/vektorling-player-XXXXXX";
    const int fd = ::mkstemp(name);
    ASSERT_GE(fd, 0);
    ::close(fd);
    output_ = name;
  }
  void TearDown() override {
    if (!output_.empty()) ::unlink(output_.c_str());
  }

  // Starts the player with its standard output and error into output_.
  pid_t Start(const std::vector<std::string>& options) {
    // Everything the child needs is prepared before fork: a server thread
    // is running, so the child may only make async-signal-safe calls.
    std::vector<char*> argv{const_cast<char*>(binary_.c_str())};
    for (const std::string& o : options) argv.push_back(const_cast<char*>(o.c_str()));
    argv.push_back(nullptr);
    const int out = ::open(output_.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (out < 0) return -1;
    const pid_t pid = ::fork();
    if (pid == 0) {
      ::dup2(out, STDOUT_FILENO);
      ::dup2(out, STDERR_FILENO);
      ::execv(argv[0], argv.data());
      ::_exit(127);
    }
    ::close(out);
    return pid;
  }

  // Exit status of the player, or -1 when it did not exit normally within
  // a few seconds (it is then killed).
  static int Wait(pid_t pid) {
    if (pid <= 0) return -1;
    int status = 0;
    for (int waited_ms = 0; waited_ms < 5000; waited_ms += 10) {
      const pid_t done = ::waitpid(pid, &status, WNOHANG);
      if (done == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
      if (done < 0) return -1;
      LoopbackServer::Pause(10);
    }
    ::kill(pid, SIGKILL);
    ::waitpid(pid, &status, 0);
    return -1;
  }

  std::string Output() const {
    std::ifstream in(output_);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }

  std::string binary_;
  std::string output_;
};

TEST_F(PlayerProcessTest, FailedConnectionExitsWithStatus1) {
  const int port = LoopbackServer::ClosedPort();
  EXPECT_EQ(1, Wait(Start({"--port=" + std::to_string(port)})));
  EXPECT_EQ("connection failed with: '" + std::string(std::strerror(ECONNREFUSED)) + "'\n",
            Output());
}

TEST_F(PlayerProcessTest, InterruptSignalEndsThePlayerCleanly) {
  Transcript t;
  std::atomic<pid_t> pid(0);
  LoopbackServer server([&](int& fd) {
    if (!StartUp(fd, t) || !Exchange(fd, 1, t)) return;
    LoopbackServer::Pause(250);  // the player now waits for message 2
    if (pid > 0) ::kill(pid, SIGINT);
    LoopbackServer::Pause(50);
    if (!Exchange(fd, 2, t)) return;
    LoopbackServer::SendAll(fd, LoopbackServer::Frame(ServerMessage(3)));
    t.after = LoopbackServer::ReadUntilClosed(fd);
  });
  pid = Start({"--host=127.0.0.1", "--port=" + std::to_string(server.port()), "--team=Blue",
               "--num=3", "--syn=1"});
  ASSERT_GT(pid.load(), 0);
  EXPECT_EQ(0, Wait(pid));
  server.Join();
  EXPECT_EQ("(init (unum 3)(teamname Blue))", t.init);
  EXPECT_EQ(2u, t.answers.size());
  EXPECT_EQ("", t.after);
  EXPECT_NE(std::string::npos,
            Output().find("closed connection to 127.0.0.1:" + std::to_string(server.port())));
}

}  // namespace
