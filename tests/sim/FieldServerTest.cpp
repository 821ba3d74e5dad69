// The practice field's server run in-process on free ports, with clients of
// the test's own that speak the wire protocol.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <memory>
#include <regex>
#include <string>
#include <thread>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include "FieldServer.h"
#include "World.h"

namespace {

using Clock = std::chrono::steady_clock;

const char kScene[] = "(scene rsg/agent/nao/nao_hetero.rsg 0)";

std::string Init(int unum, const std::string& team) {
  return "(init (unum " + std::to_string(unum) + ")(teamname " + team + "))";
}

// A blocking client with time limits on every wait.
class TestClient {
public:
  explicit TestClient(int port) {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    const int one = 1;
    setsockopt(fd_, IPPROTO_TCP, TCP_NODELAY, &one, sizeof one);
  }
  ~TestClient() { Close(); }

  bool connected() const { return connected_; }
  void Close() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  void SendRaw(const std::string& bytes) {
    ASSERT_EQ(static_cast<ssize_t>(bytes.size()), send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL));
  }
  static std::string Frame(const std::string& text) {
    const std::uint32_t n = static_cast<std::uint32_t>(text.size());
    return std::string{char(n >> 24), char(n >> 16), char(n >> 8), char(n)} + text;
  }
  void Send(const std::string& text) { SendRaw(Frame(text)); }

  // One whole message, or false on a time-out or the end of the stream.
  bool Receive(std::string* text, int timeout_ms = 2000) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    std::string header;
    if (!ReadExactly(4, &header, deadline)) return false;
    const std::uint32_t n = (std::uint32_t(uint8_t(header[0])) << 24) | (std::uint32_t(uint8_t(header[1])) << 16) |
                            (std::uint32_t(uint8_t(header[2])) << 8) | std::uint32_t(uint8_t(header[3]));
    return ReadExactly(n, text, deadline);
  }
  // True when nothing arrives for `ms` milliseconds.
  bool Silent(int ms) {
    pollfd p{fd_, POLLIN, 0};
    return poll(&p, 1, ms) == 0;
  }
  // True when the field closes the connection within the time limit
  // (messages still on the way are skipped).
  bool SeesEnd(int timeout_ms = 2000) {
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeout_ms);
    char buffer[4096];
    for (;;) {
      const int left = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
      pollfd p{fd_, POLLIN, 0};
      if (left <= 0 || poll(&p, 1, left) <= 0) return false;
      const ssize_t got = recv(fd_, buffer, sizeof buffer, 0);
      if (got == 0) return true;
      if (got < 0) return errno == ECONNRESET;
    }
  }
  // Scene and init; false when either message does not come.
  bool Join(int unum, const std::string& team, std::string* last = nullptr) {
    std::string text;
    Send(kScene);
    if (!Receive(&text)) return false;
    Send(Init(unum, team));
    if (!Receive(&text)) return false;
    if (last) *last = text;
    return true;
  }

private:
  bool ReadExactly(std::size_t n, std::string* out, Clock::time_point deadline) {
    out->clear();
    char buffer[65536];
    while (out->size() < n) {
      const int left = static_cast<int>(
          std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count());
      pollfd p{fd_, POLLIN, 0};
      if (left <= 0 || poll(&p, 1, left) <= 0) return false;
      const ssize_t got = recv(fd_, buffer, std::min(sizeof buffer, n - out->size()), 0);
      if (got <= 0) return false;
      out->append(buffer, got);
    }
    return true;
  }

  int fd_ = -1;
  bool connected_ = false;
};

// The field in a thread of its own, on ports the system chose.
class FieldServerTest : public ::testing::Test {
protected:
  void Start(bool sync, double duration = -1) {
    options_.port = 0;
    options_.trainer_port = 0;
    options_.sync = sync;
    options_.quiet = true;
    options_.noise = false;
    options_.duration = duration;
    world_ = std::make_unique<World>(options_.ToWorldConfig());
    server_ = std::make_unique<FieldServer>(options_, world_.get());
    std::string error;
    ASSERT_TRUE(server_->Open(&error)) << error;
    ASSERT_GT(server_->PlayerPort(), 0);
    ASSERT_GT(server_->TrainerPort(), 0);
    ASSERT_NE(server_->PlayerPort(), server_->TrainerPort());
    server_->SetCloseGrace(0.3);
    thread_ = std::thread([this] { server_->Run(); });
  }
  void Stop() {
    if (thread_.joinable()) {
      server_->Stop();
      thread_.join();
    }
  }
  void TearDown() override { Stop(); }

  // A player that joined and answers every message with "(syn)".
  std::unique_ptr<TestClient> Player(int unum, const std::string& team) {
    auto client = std::make_unique<TestClient>(server_->PlayerPort());
    EXPECT_TRUE(client->connected());
    EXPECT_TRUE(client->Join(unum, team));
    return client;
  }

  FieldOptions options_;
  std::unique_ptr<World> world_;
  std::unique_ptr<FieldServer> server_;
  std::thread thread_;
};

TEST_F(FieldServerTest, SceneAndInitEachAnsweredWithOneMessage) {
  Start(true);
  TestClient client(server_->PlayerPort());
  ASSERT_TRUE(client.connected());
  std::string text;
  client.Send(kScene);
  ASSERT_TRUE(client.Receive(&text));
  EXPECT_EQ(0u, text.find("(time (now ")) << text;
  EXPECT_TRUE(client.Silent(100));  // nothing more until the init command
  client.Send(Init(1, "Alpha"));
  ASSERT_TRUE(client.Receive(&text));  // without any "(syn)"
  EXPECT_EQ(0u, text.find("(time (now ")) << text;
  EXPECT_NE(std::string::npos, text.find("(GS ")) << text;
  EXPECT_NE(std::string::npos, text.find("(pm BeforeKickOff)")) << text;
  EXPECT_NE(std::string::npos, text.find("(t 0.00)")) << text;
  EXPECT_TRUE(client.Silent(100));  // sync mode: the next step waits for "(syn)"

  // The player's number and side come once, in the message after that.
  client.Send("(syn)");
  ASSERT_TRUE(client.Receive(&text));
  EXPECT_NE(std::string::npos, text.find("(GS (unum 1) (team left)")) << text;
  client.Send("(syn)");
  ASSERT_TRUE(client.Receive(&text));
  EXPECT_EQ(std::string::npos, text.find("(unum ")) << text;
}

TEST_F(FieldServerTest, FramesSplitOverManyWritesAndJoinedInOne) {
  Start(true);
  TestClient client(server_->PlayerPort());
  const std::string scene = TestClient::Frame(kScene);
  // The header 1 + 3 bytes, the text in two pieces.
  for (const std::string& piece : {scene.substr(0, 1), scene.substr(1, 3), scene.substr(4, 10), scene.substr(14)}) {
    client.SendRaw(piece);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  std::string text;
  ASSERT_TRUE(client.Receive(&text));
  // The init command and the first answer in one write: two messages back.
  client.SendRaw(TestClient::Frame(Init(2, "Alpha")) + TestClient::Frame("(syn)"));
  ASSERT_TRUE(client.Receive(&text));
  ASSERT_TRUE(client.Receive(&text));
  EXPECT_NE(std::string::npos, text.find("(team left)")) << text;
}

TEST_F(FieldServerTest, SyncStepWaitsForEveryPlayer) {
  Start(true);
  auto a = Player(1, "Alpha");
  auto b = Player(1, "Beta");
  std::string text;
  for (int step = 0; step < 3; ++step) {
    a->Send("(syn)");
    EXPECT_TRUE(a->Silent(150)) << "step " << step << " went on without B";
    b->Send("(he1 0.0)(syn)");
    ASSERT_TRUE(a->Receive(&text)) << step;
    ASSERT_TRUE(b->Receive(&text)) << step;
  }
  // An answer without "(syn)" does not count.
  a->Send("(syn)");
  b->Send("(he1 0.0)");
  EXPECT_TRUE(a->Silent(150));
  b->Send("(syn)");
  EXPECT_TRUE(a->Receive(&text));
}

TEST_F(FieldServerTest, TimeOnlyAdvancesWithSteps) {
  Start(true);
  auto a = Player(1, "Alpha");
  std::string first, second;
  a->Send("(syn)");
  ASSERT_TRUE(a->Receive(&first));
  std::this_thread::sleep_for(std::chrono::milliseconds(100));  // wall time passes, the field waits
  a->Send("(syn)");
  ASSERT_TRUE(a->Receive(&second));
  const std::regex now("\\(time \\(now ([0-9.]+)\\)\\)");
  std::smatch m1, m2;
  ASSERT_TRUE(std::regex_search(first, m1, now));
  ASSERT_TRUE(std::regex_search(second, m2, now));
  EXPECT_NEAR(0.02, std::stod(m2[1]) - std::stod(m1[1]), 0.011);
}

// The hj1 angle a message reports, or a huge value when it has none.
double HeadYaw(const std::string& text) {
  std::smatch m;
  static const std::regex hj1("\\(HJ \\(n hj1\\) \\(ax (-?[0-9.]+)\\)\\)");
  return std::regex_search(text, m, hj1) ? std::stod(m[1]) : 1e9;
}

TEST_F(FieldServerTest, AnswerToMessageKShowsInMessageKPlusTwo) {
  Start(true);
  auto a = Player(1, "Alpha");
  std::string k, k1, k2;
  a->Send("(syn)");
  ASSERT_TRUE(a->Receive(&k));
  a->Send("(he1 5.0)(syn)");  // 5 rad/s: 5.73 degrees in one step
  ASSERT_TRUE(a->Receive(&k1));
  a->Send("(he1 0.0)(syn)");
  ASSERT_TRUE(a->Receive(&k2));
  EXPECT_NEAR(0.0, HeadYaw(k), 0.01) << k;
  EXPECT_NEAR(0.0, HeadYaw(k1), 0.01) << k1;
  EXPECT_NEAR(5.73, HeadYaw(k2), 0.05) << k2;
}

TEST_F(FieldServerTest, PlayerThatLeftIsNoLongerWaitedFor) {
  Start(true);
  auto a = Player(1, "Alpha");
  auto b = Player(2, "Alpha");
  std::string text;
  b->Close();
  for (int step = 0; step < 3; ++step) {
    a->Send("(syn)");
    ASSERT_TRUE(a->Receive(&text)) << step;
  }
  // The number is free again for a new player, who is waited for.
  auto c = Player(2, "Alpha");
  a->Send("(syn)");
  EXPECT_TRUE(a->Silent(100));
  c->Send("(syn)");
  EXPECT_TRUE(c->Receive(&text));
  EXPECT_TRUE(a->Receive(&text));
}

TEST_F(FieldServerTest, BrokenClientsAreDroppedWithoutDisturbingOthers) {
  Start(true);
  auto a = Player(1, "Alpha");
  ::testing::internal::CaptureStderr();

  TestClient garbage(server_->PlayerPort());
  garbage.Send("hello field");
  EXPECT_TRUE(garbage.SeesEnd());

  TestClient unbalanced(server_->PlayerPort());
  std::string text;
  unbalanced.Send(kScene);
  ASSERT_TRUE(unbalanced.Receive(&text));
  unbalanced.Send("(init (unum 3)(teamname Alpha)");
  EXPECT_TRUE(unbalanced.SeesEnd());

  TestClient oversized(server_->PlayerPort());
  oversized.SendRaw(std::string{0, 0x10, 0, 0} + "(he1");  // announces 1 MB
  EXPECT_TRUE(oversized.SeesEnd());

  auto halfway = Player(4, "Alpha");
  halfway->SendRaw(TestClient::Frame("(he1 1.0)(syn)").substr(0, 9));
  halfway->Close();

  // A keeps playing alone, with nobody else to wait for.
  for (int step = 0; step < 3; ++step) {
    a->Send("(syn)");
    ASSERT_TRUE(a->Receive(&text)) << step;
  }
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, err.find("not a well-formed message")) << err;
  EXPECT_NE(std::string::npos, err.find("unclosed")) << err;
  EXPECT_NE(std::string::npos, err.find("1048576 bytes")) << err;
  EXPECT_NE(std::string::npos, err.find("in the middle of a frame")) << err;
  const std::regex line("dropping client [0-9]+: [^\n]+\n");
  EXPECT_EQ(4, std::distance(std::sregex_iterator(err.begin(), err.end(), line), std::sregex_iterator())) << err;
}

TEST_F(FieldServerTest, ThirdTeamAndTwelfthPlayerRefused) {
  Start(true);
  auto a = Player(1, "Alpha");
  auto b = Player(1, "Beta");
  ::testing::internal::CaptureStderr();
  std::string text;
  TestClient gamma(server_->PlayerPort());
  gamma.Send(kScene);
  ASSERT_TRUE(gamma.Receive(&text));
  gamma.Send(Init(1, "Gamma"));
  EXPECT_TRUE(gamma.SeesEnd());

  std::vector<std::unique_ptr<TestClient>> alpha;
  for (int unum = 2; unum <= 11; ++unum) alpha.push_back(Player(unum, "Alpha"));
  TestClient twelfth(server_->PlayerPort());
  twelfth.Send(kScene);
  ASSERT_TRUE(twelfth.Receive(&text));
  twelfth.Send(Init(0, "Alpha"));
  EXPECT_TRUE(twelfth.SeesEnd());
  const std::string err = ::testing::internal::GetCapturedStderr();
  const std::regex line("dropping client [0-9]+: [^\n]+\n");
  EXPECT_EQ(2, std::distance(std::sregex_iterator(err.begin(), err.end(), line), std::sregex_iterator())) << err;

  // The match goes on for those who joined.
  a->Send("(syn)");
  b->Send("(syn)");
  for (auto& p : alpha) p->Send("(syn)");
  EXPECT_TRUE(a->Receive(&text));
  EXPECT_TRUE(alpha.back()->Receive(&text));
}

TEST_F(FieldServerTest, TrainerCommandsReachTheWorld) {
  Start(true);
  auto a = Player(1, "Alpha");
  TestClient trainer(server_->TrainerPort());
  ASSERT_TRUE(trainer.connected());
  ::testing::internal::CaptureStderr();
  trainer.Send("(frobnicate 1)");
  trainer.Send("(playMode PlayOn)");
  std::string text;
  bool seen = false;
  for (int step = 0; step < 10 && !seen; ++step) {
    a->Send("(syn)");
    ASSERT_TRUE(a->Receive(&text));
    seen = text.find("(pm PlayOn)") != std::string::npos;
  }
  EXPECT_TRUE(seen) << text;
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, err.find("unknown trainer command ignored: (frobnicate 1)")) << err;

  // A second trainer, and "(killsim)" ends the match: everyone sees the end.
  TestClient second(server_->TrainerPort());
  second.Send("(killsim)");
  EXPECT_TRUE(a->SeesEnd());
  EXPECT_TRUE(trainer.SeesEnd());
  thread_.join();
}

TEST_F(FieldServerTest, RealTimeStepsWithoutWaitingAndDurationEndsMatch) {
  Start(false, 0.3);
  auto a = Player(1, "Alpha");
  std::string text;
  int messages = 0;
  const auto start = Clock::now();
  while (a->Receive(&text, 500)) ++messages;  // never answers; ends when the field closes
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  thread_.join();
  // 15 steps in all, some before the player joined.
  EXPECT_GE(messages, 5);
  EXPECT_LE(messages, 15);
  EXPECT_GT(seconds, 0.1);
  EXPECT_LT(seconds, 2.0);  // 0.3 s of steps, with room for a loaded machine
  EXPECT_GE(server_->Steps(), 15);
  EXPECT_LE(server_->Steps(), 16);
}

TEST_F(FieldServerTest, StopClosesEveryConnectionCleanly) {
  Start(true);
  auto a = Player(1, "Alpha");
  TestClient trainer(server_->TrainerPort());
  TestClient idle(server_->PlayerPort());  // connected, never said anything
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  server_->Stop();
  EXPECT_TRUE(a->SeesEnd());
  EXPECT_TRUE(trainer.SeesEnd());
  EXPECT_TRUE(idle.SeesEnd());
  thread_.join();
}

TEST_F(FieldServerTest, SyncFieldWithoutPlayersWaits) {
  Start(true, 0.1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  EXPECT_EQ(0, server_->Steps());
  auto a = Player(1, "Alpha");
  std::string text;
  int steps = 0;
  for (; steps < 10; ++steps) {
    a->Send("(syn)");
    if (!a->Receive(&text, 500)) break;
  }
  thread_.join();
  EXPECT_EQ(5, server_->Steps());
}

}  // namespace
