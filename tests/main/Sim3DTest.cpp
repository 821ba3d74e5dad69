#include <pthread.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "../support/LoopbackServer.h"
#include "main/Sim3D.h"
#include "net/Addr.h"

namespace {

using LS = LoopbackServer;

// The main loop's settings are process-wide: every test starts from the defaults.
class Sim3DTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Sim3D::ResetSettings();
  }
  void TearDown() override { Sim3D::ResetSettings(); }
};

bool ConnectTo(const LS& server) {
  Sim3D::gPort_ = server.port();
  return Sim3D::Init();
}

// Connects to a server running script and reads one message; for death tests.
void GetOneMessageFrom(LS::Script script) {
  LS server(script);
  if (ConnectTo(server)) Sim3D::GetMessage();
}

TEST_F(Sim3DTest, FramesAreAssembledKeptApartAndCutAtZeroByte) {
  std::string big(81915, 'x');  // the largest frame the buffer holds
  big.front() = '(';
  // Sent payload and the message it gives.
  const std::pair<std::string, std::string> kFrames[] = {
      {"(time (now 0.48))(GS (t 0.00))", "(time (now 0.48))(GS (t 0.00))"},
      {"", ""},
      {std::string("(abc)\0(hidden)", 14), "(abc)"},
      {big, big},
      {"3", "3"}};
  std::string stream;
  for (const auto& f : kFrames) stream += framing::Frame(f.first);
  // The header of the first frame comes as 1 + 3 bytes, its payload in three
  // pieces, the rest of the stream with its end in one write.
  LS server([&](int& fd) {
    std::size_t from = 0;
    for (std::size_t to : {1, 4, 9, 19}) {
      framing::SendAll(fd, stream.substr(from, to - from));
      LS::Pause(20);
      from = to;
    }
    framing::SendAll(fd, stream.substr(from));
  });
  ASSERT_TRUE(ConnectTo(server));
  Sim3D::gMsg_ = "stale";
  for (const auto& f : kFrames) {
    SCOPED_TRACE(f.second.substr(0, 40));
    ASSERT_TRUE(Sim3D::GetMessage());
    EXPECT_TRUE(f.second == Sim3D::gMsg_) << Sim3D::gMsg_.size();
    EXPECT_TRUE(Sim3D::main_loop_);
  }
  // Then the server closes: the loop ends, the last message stays.
  EXPECT_FALSE(Sim3D::GetMessage());
  EXPECT_FALSE(Sim3D::main_loop_);
  EXPECT_EQ("3", Sim3D::gMsg_);
}

// (Leaving between frames: FramesAreAssembledKeptApartAndCutAtZeroByte.)
TEST_F(Sim3DTest, ServerLeavingInsideAFrameEndsTheLoop) {
  const struct {
    std::string bytes;
    bool reset;
  } kCases[] = {{framing::Header(10).substr(0, 2), false},
                {framing::Header(10) + "(abc", false},
                {framing::Header(10) + "(ab", true}};
  for (const auto& c : kCases) {
    SCOPED_TRACE(c.bytes.size());
    Sim3D::ResetSettings();
    LS server([&](int& fd) {
      framing::SendAll(fd, c.bytes);
      if (!c.reset) return;
      LS::Pause(50);
      LS::Reset(fd);
    });
    ASSERT_TRUE(ConnectTo(server));
    EXPECT_FALSE(Sim3D::GetMessage());
    EXPECT_FALSE(Sim3D::main_loop_);
  }
}

TEST_F(Sim3DTest, OversizedFrameOrSilenceAborts) {
  // A length no buffer could hold is refused from the header alone.
  for (unsigned long length : {81916ul, 0xfffffffful}) {
    EXPECT_DEATH(GetOneMessageFrom([=](int& fd) {
                   framing::SendAll(fd, framing::Header(length));
                   framing::ReadUntilClosed(fd);
                 }),
                 "message too long; aborting");
  }
  EXPECT_DEATH(Sim3D::SelectInput(), "\\(SelectInput\\) select failed ");  // no connection
  EXPECT_EQ(60, Sim3D::gSelectTimeoutSec_);  // the wait a player gives a silent server; 1 s here
  Sim3D::gSelectTimeoutSec_ = 1;
  EXPECT_DEATH(GetOneMessageFrom([](int& fd) { framing::ReadUntilClosed(fd, 4000); }),
               "\\(SelectInput\\) select failed ");
}

TEST_F(Sim3DTest, InterruptedWaitIsResumed) {
  struct sigaction action, previous;
  std::memset(&action, 0, sizeof(action));
  action.sa_handler = [](int) {};
  ASSERT_EQ(0, sigaction(SIGUSR1, &action, &previous));
  const pthread_t waiting = pthread_self();
  LS server([waiting](int& fd) {
    LS::Pause(100);
    pthread_kill(waiting, SIGUSR1);
    LS::Pause(100);
    framing::SendAll(fd, framing::Frame("(late)"));
  });
  ASSERT_TRUE(ConnectTo(server));
  EXPECT_TRUE(Sim3D::GetMessage());
  EXPECT_EQ("(late)", Sim3D::gMsg_);
  server.Join();
  sigaction(SIGUSR1, &previous, nullptr);
}

TEST_F(Sim3DTest, PutMessageFramesBigEndianAndDoneSaysSo) {
  std::string raw;
  LS server([&](int& fd) { raw = framing::ReadUntilClosed(fd); });
  ASSERT_TRUE(ConnectTo(server));
  const std::string long_msg(258, 'a');  // length 0x00000102
  Sim3D::PutMessage("(syn)");
  Sim3D::PutMessage("");  // sends nothing at all
  Sim3D::PutMessage(long_msg);
  ::testing::internal::CaptureStdout();
  Sim3D::Done();
  EXPECT_EQ("closed connection to 127.0.0.1:" + std::to_string(server.port()) + "\n",
            ::testing::internal::GetCapturedStdout());
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
  server.Join();
  EXPECT_TRUE(std::string("\0\0\0\x05(syn)\0\0\x01\x02", 13) + long_msg == raw) << raw.size();
}

// The refused connection's message and exit status: PlayerProcessTest.
TEST_F(Sim3DTest, InitReportsABindFailureAndClosesTheSocket) {
  Sim3D::gPort_ = LS::ClosedPort();
  Sim3D::gSocket_.bind(net::Addr(0, 0u));  // a socket cannot be bound twice
  ::testing::internal::CaptureStderr();
  EXPECT_FALSE(Sim3D::Init());
  EXPECT_EQ("failed to bind socket with '" + std::string(std::strerror(EINVAL)) + "'\n",
            ::testing::internal::GetCapturedStderr());
  EXPECT_EQ(-1, Sim3D::gSocket_.getFD());
}

// Set while ReadOptions runs on a command line that must not end the
// process: an exit then fails the test run instead of passing silently.
bool g_exit_is_a_failure = false;
const bool kExitGuard = (std::atexit([] {
                           if (g_exit_is_a_failure) ::_exit(1);
                         }),
                         true);

// Runs ReadOptions on the arguments behind the program name.
void ReadArgs(std::vector<std::string> args, bool may_exit = false) {
  args.insert(args.begin(), "vektorling");
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  g_exit_is_a_failure = !may_exit;
  Sim3D::ReadOptions(static_cast<int>(args.size()), argv.data());
  g_exit_is_a_failure = false;
}

// Host, port, team, number, synchronous mode, model type and server version.
std::string Settings() {
  return Sim3D::gHost_ + " " + std::to_string(Sim3D::gPort_) + " " + Sim3D::gTeamName_ + " " +
         std::to_string(Sim3D::gNum_) + " " + std::to_string(Sim3D::gSynMode_) + " " +
         std::to_string(Sim3D::gType_) + " " + Sim3D::GetServerVersion() +
         (Sim3D::gTraceFile_.empty() ? "" : " trace " + Sim3D::gTraceFile_) +
         (Sim3D::gDrawTo_ ? " draw " + Sim3D::gDrawTo_->getHostString() + ":" + std::to_string(Sim3D::gDrawTo_->getPort())
                          : "") +
         (Sim3D::gJoinWaitSec_ == 3 && Sim3D::gJoinTries_ == 10
              ? ""
              : " join " + testing::PrintToString(Sim3D::gJoinWaitSec_) + "/" + std::to_string(Sim3D::gJoinTries_));
}

TEST_F(Sim3DTest, CommandLinesGiveSettings) {
  const struct {
    std::vector<std::string> args;
    const char* settings;
  } kCases[] = {
      {{}, "127.0.0.1 3100 Agent 0 0 0 0.6.7"},
      {{"--host=10.0.0.5", "--port=3200", "--team=Alpha", "--num=7", "--syn=1", "--type=3",
        "--ser=0.7.1"},
       "10.0.0.5 3200 Alpha 7 1 3 0.7.1"},
      // Ports below 3100 are raised to it; letters read as 0.
      {{"--port=80"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7"},
      {{"--port=-5"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7"},
      {{"--port=3101"}, "127.0.0.1 3101 Agent 0 0 0 0.6.7"},
      {{"--port=3200", "--port=http"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7"},
      // Numbers as strtol reads them, clamped to the range of int.
      {{"--num=  +9", "--type=11abc"}, "127.0.0.1 3100 Agent 9 0 11 0.6.7"},
      {{"--num=99999999999999999999"}, "127.0.0.1 3100 Agent 2147483647 0 0 0.6.7"},
      {{"--syn=2"}, "127.0.0.1 3100 Agent 0 1 0 0.6.7"},
      // The value starts one character behind the name, whatever it is.
      {{"--team=A", "--host:1.2.3.4"}, "1.2.3.4 3100 A 0 0 0 0.6.7"},
      {{"--hostname=x"}, "ame=x 3100 Agent 0 0 0 0.6.7"},
      {{"--ser="}, "127.0.0.1 3100 Agent 0 0 0 "},
      {{"--trace=out/p.jsonl"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7 trace out/p.jsonl"},
      // Drawings for RoboViz, by default on its port 32769.
      {{"--draw=127.0.0.1"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7 draw 127.0.0.1:32769"},
      {{"--draw=localhost:4000"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7 draw 127.0.0.1:4000"},
      // The wait for the first message in seconds (0: no new connection) and
      // the connections tried, at least one.
      {{"--join-wait=0.25", "--join-tries=3"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7 join 0.25/3"},
      {{"--join-wait=-1", "--join-tries=0"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7 join 0/1"},
      {{"--join-wait=soon", "--join-tries=x"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7 join 0/1"},
      {{"--join-wait=1e9"}, "127.0.0.1 3100 Agent 0 0 0 0.6.7 join 3600/10"},
      // A later option wins; unknown arguments are ignored.
      {{"--team=First", "--helpme", "-team=X", "port=1", "--team=Second"},
       "127.0.0.1 3100 Second 0 0 0 0.6.7"},
  };
  for (const auto& c : kCases) {
    SCOPED_TRACE(testing::PrintToString(c.args));
    Sim3D::ResetSettings();
    ReadArgs(c.args);
    EXPECT_EQ(c.settings, Settings());
  }
}

// --help, or an option without its value, prints the usage text and ends
// the program with status 0.
TEST_F(Sim3DTest, HelpOrOptionWithoutValuePrintsTheUsageAndExits) {
  const std::vector<std::string> kCases[] = {
      {"--team="}, {"--port"}, {"--ser"}, {"--syn=1", "--num"}, {"--port=3200", "--help", "--team=X"}};
  for (const auto& args : kCases) {
    SCOPED_TRACE(testing::PrintToString(args));
    EXPECT_EXIT(
        {
          ::dup2(STDERR_FILENO, STDOUT_FILENO);  // the usage text, where EXPECT_EXIT looks
          ReadArgs(args, true);
        },
        ::testing::ExitedWithCode(0), "usage: vektorling \\[options\\]");
  }
  // The usage text is the program's own, character for character.
  ::testing::internal::CaptureStdout();
  Sim3D::PrintHelp();
  EXPECT_EQ(
      "\nusage: vektorling [options]\n\noptions:\n"
      " --help      prints this message.\n"
      " --host=IP   IP of the server.\n"
      " --port=PORT PORT NUMBER of the server.\n"
      " --team=NAME NAME of the team.\n"
      " --syn=Synchronize Mode of the team.\n"
      " --type=MODEL TYPE of the nao model type.\n\n",
      ::testing::internal::GetCapturedStdout());
}

}  // namespace
