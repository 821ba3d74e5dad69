// The practice field's server run in-process on free ports, with clients of
// the test's own that speak the wire protocol.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <regex>
#include <string>
#include <thread>
#include <vector>

#include "../support/LoopbackServer.h"
#include "FieldServer.h"
#include "World.h"

namespace {

const char kScene[] = "(scene rsg/agent/nao/nao_hetero.rsg 0)";

std::string Init(int unum, const std::string& team) {
  return "(init (unum " + std::to_string(unum) + ")(teamname " + team + "))";
}

// A client on the loopback interface; every wait has a time limit.
class TestClient {
public:
  explicit TestClient(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    EXPECT_EQ(0, connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address));
  }
  ~TestClient() { close(fd_); }
  void SendRaw(const std::string& bytes) { ASSERT_TRUE(framing::SendAll(fd_, bytes)); }
  void Send(const std::string& text) { SendRaw(framing::Frame(text)); }
  // One whole message into last; false when none comes in time or the stream ends.
  bool Receive(int timeout_ms = 2000) { return framing::WaitReadable(fd_, timeout_ms) && framing::ReadFrame(fd_, last); }
  // True when the field closes the connection (messages on the way skipped).
  bool SeesEnd() {
    framing::ReadUntilClosed(fd_);
    char byte;
    return recv(fd_, &byte, 1, MSG_DONTWAIT) == 0;
  }
  std::string last;

private:
  int fd_;
};

// The field in a thread of its own, on ports the system chose.
class FieldServerTest : public ::testing::Test {
protected:
  void Start(bool sync, double duration = -1) {
    TearDown();
    ended_ = false;
    options_.port = options_.trainer_port = 0;
    options_.sync = sync;
    options_.quiet = true;
    options_.noise = false;
    options_.duration = duration;
    world_ = std::make_unique<World>(options_.ToWorldConfig());
    server_ = std::make_unique<FieldServer>(options_, world_.get());
    std::string error;
    ASSERT_TRUE(server_->Open(&error)) << error;
    server_->SetCloseGrace(0.3);
    thread_ = std::thread([this] {
      server_->Run();
      ended_ = true;
    });
  }
  // Waits (generously) for the field to end the match on its own.
  bool Ended() {
    for (int i = 0; i < 3000 && !ended_; ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    return ended_;
  }
  void TearDown() override {
    if (thread_.joinable()) {
      server_->Stop();
      thread_.join();
    }
  }
  // A client that sent the scene and init commands and got both answers.
  std::unique_ptr<TestClient> Player(int unum, const std::string& team) {
    auto client = std::make_unique<TestClient>(server_->PlayerPort());
    client->Send(kScene);
    EXPECT_TRUE(client->Receive());
    client->Send(Init(unum, team));
    EXPECT_TRUE(client->Receive());
    return client;
  }
  // One synchronous step: every client says "(syn)" and gets its message.
  void SynStep(const std::vector<TestClient*>& clients) {
    for (TestClient* c : clients) c->Send("(syn)");
    for (TestClient* c : clients) ASSERT_TRUE(c->Receive());
  }

  FieldOptions options_;
  std::unique_ptr<World> world_;
  std::unique_ptr<FieldServer> server_;
  std::thread thread_;
  std::atomic<bool> ended_{false};
};

TEST_F(FieldServerTest, StartUpSequenceFirstGameStatesAndSplitOrJoinedFrames) {
  options_.players = 1;  // the clock waits for this player
  Start(true, 0.1);
  TestClient client(server_->PlayerPort());
  // The scene command in pieces: the header 1 + 3 bytes, the text in two.
  const std::string scene = framing::Frame(kScene);
  for (const std::string& piece : {scene.substr(0, 1), scene.substr(1, 3), scene.substr(4, 10), scene.substr(14)}) {
    client.SendRaw(piece);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  ASSERT_TRUE(client.Receive());
  EXPECT_EQ(0u, client.last.find("(time (now ")) << client.last;
  EXPECT_FALSE(client.Receive(100));  // nothing more until the init command
  EXPECT_EQ(0, server_->Steps());     // and no step before the player has joined
  client.Send(Init(0, "Alpha"));
  ASSERT_TRUE(client.Receive());  // without any "(syn)"
  EXPECT_NE(std::string::npos, client.last.find("(GS (sl 0) (sr 0) (t 0.00) (pm BeforeKickOff))")) << client.last;
  EXPECT_FALSE(client.Receive(100));  // sync mode: the next step waits for "(syn)"
  // Two frames in one write; the number and side come once, in the next message.
  client.SendRaw(framing::Frame("(he1 0.1)") + framing::Frame("(syn)"));
  ASSERT_TRUE(client.Receive());
  EXPECT_NE(std::string::npos, client.last.find("(GS (unum 1) (team left)")) << client.last;
  // The rest of the 0.1 s match (five steps), then the end.
  for (int step = 2; step <= 5; ++step) {
    SynStep({&client});
    EXPECT_EQ(std::string::npos, client.last.find("(unum ")) << client.last;
  }
  EXPECT_TRUE(client.SeesEnd());
  EXPECT_EQ(5, server_->Steps());
}

TEST_F(FieldServerTest, SyncStepWaitsForEveryPlayersSynAndTheTrainerCanEndTheMatch) {
  Start(true);
  auto a = Player(1, "Alpha");
  auto b = Player(1, "Beta");
  TestClient trainer(server_->TrainerPort());
  TestClient idle(server_->PlayerPort());  // connected, never said anything
  a->Send("(syn)");
  EXPECT_FALSE(a->Receive(100)) << "went on without B";
  b->Send("(he1 0.0)(syn)");
  ASSERT_TRUE(a->Receive() && b->Receive());
  const std::string first = a->last;
  // An answer without "(syn)" does not count; wall time passing does not either.
  a->Send("(syn)");
  b->Send("(he1 0.0)");
  EXPECT_FALSE(a->Receive(100));
  b->Send("(syn)");
  ASSERT_TRUE(a->Receive() && b->Receive());
  double t1 = 0, t2 = 0;
  std::sscanf(first.c_str(), "(time (now %lf", &t1);
  std::sscanf(a->last.c_str(), "(time (now %lf", &t2);
  EXPECT_NEAR(0.02, t2 - t1, 0.001);

  ::testing::internal::CaptureStderr();
  trainer.Send("(frobnicate 1)(playMode PlayOn)");
  for (int step = 0; step < 10 && a->last.find("(pm PlayOn)") == std::string::npos; ++step) SynStep({a.get(), b.get()});
  EXPECT_NE(std::string::npos, a->last.find("(pm PlayOn)")) << a->last;
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(std::string::npos, err.find("unknown trainer command ignored: (frobnicate 1)")) << err;
  TestClient(server_->TrainerPort()).Send("(killsim)");  // a second trainer
  for (TestClient* client : {a.get(), b.get(), &trainer, &idle}) EXPECT_TRUE(client->SeesEnd());
}

TEST_F(FieldServerTest, DeadBrokenAndRefusedClientsAreDroppedWithoutDisturbingOthers) {
  Start(true);
  auto a = Player(1, "Alpha");
  auto b = Player(1, "Beta");
  Player(2, "Alpha").reset();  // leaves cleanly
  ::testing::internal::CaptureStderr();
  TestClient gamma(server_->PlayerPort());  // a third team
  gamma.Send(kScene);
  ASSERT_TRUE(gamma.Receive());
  gamma.Send(Init(1, "Gamma"));
  EXPECT_TRUE(gamma.SeesEnd());
  TestClient garbage(server_->PlayerPort());
  garbage.Send("hello field");
  EXPECT_TRUE(garbage.SeesEnd());
  TestClient oversized(server_->PlayerPort());
  oversized.SendRaw(std::string{0, 0x10, 0, 0} + "(he1");  // announces 1 MB
  EXPECT_TRUE(oversized.SeesEnd());
  Player(4, "Alpha")->SendRaw(framing::Frame("(he1 1.0)(syn)").substr(0, 9));  // and leaves halfway
  // A and B keep playing, with nobody else to wait for.
  for (int step = 0; step < 3; ++step) SynStep({a.get(), b.get()});
  const std::string err = ::testing::internal::GetCapturedStderr();
  for (const char* why : {"Gamma rejected", "not a well-formed message", "1048576 bytes", "in the middle of a frame"}) {
    EXPECT_NE(std::string::npos, err.find(why)) << err;
  }
  const std::regex line("dropping client [0-9]+: [^\n]+\n");
  EXPECT_EQ(4, std::distance(std::sregex_iterator(err.begin(), err.end(), line), std::sregex_iterator())) << err;
}

TEST_F(FieldServerTest, RealTimeOrSyncModeWithNobodyToWaitForStepsAtTheWallClocksPaceUntilTheDuration) {
  // 0: real time, the player never answers; 1: sync, nobody comes;
  // 2: sync, a player joins and leaves.
  for (int visit = 0; visit < 3; ++visit) {
    SCOPED_TRACE(visit);
    const auto start = std::chrono::steady_clock::now();
    Start(visit > 0, 0.3);
    if (visit != 1) {
      auto a = Player(1, "Alpha");
      int messages = 0;
      if (visit == 2) SynStep({a.get()});
      while (visit == 0 && messages < 50 && a->Receive(500)) ++messages;  // ends when the field closes
      EXPECT_LE(messages, 15);  // some steps came before the player joined
    }
    ASSERT_TRUE(Ended()) << "still running after " << server_->Steps() << " steps";
    EXPECT_EQ(server_->Steps(), 15);
    // Paced by the wall clock (a player's own step aside), not run at once.
    EXPECT_GT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 0.25);
  }
}

}  // namespace
