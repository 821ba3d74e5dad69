#include <unistd.h>

#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <string>
#include <vector>

#include "main/Sim3D.h"

namespace {

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

class Sim3DOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Sim3D::ResetSettings();
  }
  void TearDown() override { Sim3D::ResetSettings(); }
};

TEST_F(Sim3DOptionsTest, CommandLinesGiveSettings) {
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
  EXPECT_EQ(60, Sim3D::gSelectTimeoutSec_);
}

// --help, or an option without its value, prints the usage text and ends
// the program with status 0.
TEST_F(Sim3DOptionsTest, HelpOrOptionWithoutValuePrintsTheUsageAndExits) {
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
