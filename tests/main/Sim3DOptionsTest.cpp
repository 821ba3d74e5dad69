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

void FailOnUnexpectedExit() {
  if (g_exit_is_a_failure) {
    const char text[] = "ReadOptions ended the process unexpectedly\n";
    ssize_t ignored = ::write(STDERR_FILENO, text, sizeof(text) - 1);
    (void)ignored;
    ::_exit(1);
  }
}

// Runs ReadOptions on a command line given as strings (program name first).
void ReadArgsRaw(std::vector<std::string> args) {
  std::vector<char*> argv;
  for (std::string& a : args) argv.push_back(&a[0]);
  argv.push_back(nullptr);
  Sim3D::ReadOptions(static_cast<int>(args.size()), argv.data());
}

// As ReadArgsRaw, for command lines that must not end the process.
void ReadArgs(std::vector<std::string> args) {
  static const bool registered = (std::atexit(FailOnUnexpectedExit), true);
  (void)registered;
  g_exit_is_a_failure = true;
  ReadArgsRaw(std::move(args));
  g_exit_is_a_failure = false;
}

// As ReadArgsRaw, with the usage text sent to standard error so that a death
// test can match it.
void ReadArgsUsageToStderr(std::vector<std::string> args) {
  ::dup2(STDERR_FILENO, STDOUT_FILENO);
  ReadArgsRaw(std::move(args));
}

const char* const kUsageText =
    "\nusage: vektorling [options]\n"
    "\noptions:\n"
    " --help      prints this message.\n"
    " --host=IP   IP of the server.\n"
    " --port=PORT PORT NUMBER of the server.\n"
    " --team=NAME NAME of the team.\n"
    " --syn=Synchronize Mode of the team.\n"
    " --type=MODEL TYPE of the nao model type.\n"
    "\n";

class Sim3DOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    Sim3D::ResetSettings();
  }
  void TearDown() override { Sim3D::ResetSettings(); }
};

TEST_F(Sim3DOptionsTest, DefaultsWithoutArguments) {
  ReadArgs({"vektorling"});
  EXPECT_EQ("127.0.0.1", Sim3D::gHost_);
  EXPECT_EQ(3100, Sim3D::gPort_);
  EXPECT_EQ("Agent", Sim3D::gTeamName_);
  EXPECT_EQ(0, Sim3D::gNum_);
  EXPECT_FALSE(Sim3D::gSynMode_);
  EXPECT_EQ(0, Sim3D::gType_);
  EXPECT_EQ("0.6.7", Sim3D::GetServerVersion());
  EXPECT_TRUE(Sim3D::main_loop_);
  EXPECT_EQ(60, Sim3D::gSelectTimeoutSec_);
}

TEST_F(Sim3DOptionsTest, EveryOptionSetsItsSetting) {
  ReadArgs({"vektorling", "--host=10.0.0.5", "--port=3200", "--team=Alpha", "--num=7",
            "--syn=1", "--type=3", "--ser=0.7.1"});
  EXPECT_EQ("10.0.0.5", Sim3D::gHost_);
  EXPECT_EQ(3200, Sim3D::gPort_);
  EXPECT_EQ("Alpha", Sim3D::gTeamName_);
  EXPECT_EQ(7, Sim3D::gNum_);
  EXPECT_TRUE(Sim3D::gSynMode_);
  EXPECT_EQ(3, Sim3D::gType_);
  EXPECT_EQ("0.7.1", Sim3D::GetServerVersion());
}

TEST_F(Sim3DOptionsTest, PortBelow3100BecomesDefault) {
  ReadArgs({"vektorling", "--port=80"});
  EXPECT_EQ(3100, Sim3D::gPort_);
  ReadArgs({"vektorling", "--port=-5"});
  EXPECT_EQ(3100, Sim3D::gPort_);
  ReadArgs({"vektorling", "--port=0"});
  EXPECT_EQ(3100, Sim3D::gPort_);
  ReadArgs({"vektorling", "--port=3101"});
  EXPECT_EQ(3101, Sim3D::gPort_);
  ReadArgs({"vektorling", "--port=3099"});
  EXPECT_EQ(3100, Sim3D::gPort_);
}

TEST_F(Sim3DOptionsTest, NumbersAreReadLikeStrtol) {
  ReadArgs({"vektorling", "--num=  +9"});
  EXPECT_EQ(9, Sim3D::gNum_);
  ReadArgs({"vektorling", "--num=11abc"});
  EXPECT_EQ(11, Sim3D::gNum_);
  ReadArgs({"vektorling", "--num=abc"});
  EXPECT_EQ(0, Sim3D::gNum_);
  ReadArgs({"vektorling", "--type=x2"});
  EXPECT_EQ(0, Sim3D::gType_);
  ReadArgs({"vektorling", "--port=3200", "--port=http"});
  EXPECT_EQ(3100, Sim3D::gPort_);  // letters give 0, raised to the lower bound
  // Beyond the range of int the value stays at its limit.
  ReadArgs({"vektorling", "--num=99999999999999999999"});
  EXPECT_EQ(2147483647, Sim3D::gNum_);
}

TEST_F(Sim3DOptionsTest, SynchronousModeIsAnyNonZeroNumber) {
  ReadArgs({"vektorling", "--syn=2"});
  EXPECT_TRUE(Sim3D::gSynMode_);
  ReadArgs({"vektorling", "--syn=0"});
  EXPECT_FALSE(Sim3D::gSynMode_);
  ReadArgs({"vektorling", "--syn=-1"});
  EXPECT_TRUE(Sim3D::gSynMode_);
  ReadArgs({"vektorling", "--syn=on"});
  EXPECT_FALSE(Sim3D::gSynMode_);
}

TEST_F(Sim3DOptionsTest, ValueStartsOneCharacterBehindTheName) {
  ReadArgs({"vektorling", "--team=A"});
  EXPECT_EQ("A", Sim3D::gTeamName_);
  ReadArgs({"vektorling", "--host:1.2.3.4"});
  EXPECT_EQ("1.2.3.4", Sim3D::gHost_);
  // An argument that merely begins with a name is that option.
  ReadArgs({"vektorling", "--hostname=x"});
  EXPECT_EQ("ame=x", Sim3D::gHost_);
}

TEST_F(Sim3DOptionsTest, LaterOptionWinsAndUnknownOnesAreIgnored) {
  ReadArgs({"vektorling", "--team=First", "--helpme", "-team=X", "port=1", "--team=Second"});
  EXPECT_EQ("Second", Sim3D::gTeamName_);
  EXPECT_EQ(3100, Sim3D::gPort_);
}

TEST_F(Sim3DOptionsTest, ServerVersionMayBeEmpty) {
  ReadArgs({"vektorling", "--ser="});
  EXPECT_EQ("", Sim3D::GetServerVersion());
}

TEST_F(Sim3DOptionsTest, OptionWithoutValuePrintsUsageAndExits) {
  EXPECT_EXIT(ReadArgsUsageToStderr({"vektorling", "--team="}), ::testing::ExitedWithCode(0),
              "usage: vektorling \\[options\\]");
  EXPECT_EXIT(ReadArgsUsageToStderr({"vektorling", "--port"}), ::testing::ExitedWithCode(0),
              "usage: vektorling");
  EXPECT_EXIT(ReadArgsUsageToStderr({"vektorling", "--ser"}), ::testing::ExitedWithCode(0),
              "usage: vektorling");
  // A bare name ends the process even behind valid options.
  EXPECT_EXIT(ReadArgsUsageToStderr({"vektorling", "--syn=1", "--num"}),
              ::testing::ExitedWithCode(0), "--type=MODEL TYPE");
}

TEST_F(Sim3DOptionsTest, HelpPrintsUsageAndExits) {
  EXPECT_EXIT(ReadArgsUsageToStderr({"vektorling", "--port=3200", "--help", "--team=X"}),
              ::testing::ExitedWithCode(0), "--help      prints this message\\.");
}

TEST_F(Sim3DOptionsTest, UsageTextIsExact) {
  ::testing::internal::CaptureStdout();
  Sim3D::PrintHelp();
  EXPECT_EQ(kUsageText, ::testing::internal::GetCapturedStdout());
}

TEST_F(Sim3DOptionsTest, InterruptHandlerClearsLoopFlagOnlyForSignal2) {
  handler(SIGTERM);
  handler(SIGUSR1);
  EXPECT_TRUE(Sim3D::main_loop_);
  handler(2);
  EXPECT_FALSE(Sim3D::main_loop_);
}

}  // namespace
