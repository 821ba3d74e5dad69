#ifndef VEKTORLING_SIM_FIELD_SERVER_H
#define VEKTORLING_SIM_FIELD_SERVER_H

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "FieldOptions.h"
#include "MonitorStream.h"
#include "Poller.h"
#include "World.h"

class Connection;

// The network side of the practice field: listens for players and trainers
// on 127.0.0.1, frames and checks what they send, runs the scene/init
// start-up, and drives the world in 20 ms steps, either in real time or, in
// synchronous mode, whenever every player has answered with "(syn)"; with no
// player to wait for, synchronous mode steps in real time as well, so that a
// match with a duration ends even when nobody comes or everybody has left.
// One thread; all sockets non-blocking behind one epoll set. What is
// recorded of the match is up to whoever listens to the steps (OnStep).
class FieldServer {
public:
  // Longest wall time the clock is held for the players of "--players".
  static constexpr double kJoinWaitSeconds = 10.0;

  // The world must outlive the server; it is used only from Run().
  FieldServer(const FieldOptions& options, World* world);
  ~FieldServer();
  FieldServer(const FieldServer&) = delete;
  FieldServer& operator=(const FieldServer&) = delete;

  // Opens the two listening sockets (port 0: any free port). False with one
  // line in *error.
  bool Open(std::string* error);
  int PlayerPort() const { return player_port_; }
  int TrainerPort() const { return trainer_port_; }

  // Runs the match until the world is finished ("--duration", "(killsim)")
  // or Stop() is called, then closes every connection cleanly.
  void Run();
  // Ends Run() soon; safe from another thread and from a signal handler.
  void Stop();

  long Steps() const { return steps_.load(); }
  // Called after each step, once the players have their messages.
  void OnStep(std::function<void()> listener) { on_step_ = std::move(listener); }
  // How long the end of the match waits for clients to close their side.
  void SetCloseGrace(double seconds) { close_grace_ = seconds; }

private:
  struct Client;

  void Accept(int listener, bool trainer);
  void ServeClient(Client& client, short events);
  void HandlePlayerFrame(Client& client);
  void HandleInit(Client& client, const std::string& init);
  void HandleTrainerFrame(Client& client);
  void Send(Client& client, const std::string& text);
  // Gives up a client: one line on standard error, its robot leaves.
  void Drop(Client& client, const std::string& reason);
  // The client closed its connection between frames.
  void Leave(Client& client);
  // How the next step comes: held before the players of "--players" have
  // joined, when every player has answered, or at real-time pace.
  enum class Pace { kHeld, kSyn, kRealTime };
  Pace CurrentPace();
  bool ReadyToStep() const;
  void DoStep();
  // Sends the monitor stream's frame of this step to every trainer client.
  void SendFrames();
  // Sends one client a full state of the scene now.
  void SendFullState(Client& client);
  void CloseAll();

  FieldOptions options_;
  World* world_;
  int player_listener_ = -1, trainer_listener_ = -1;
  int player_port_ = 0, trainer_port_ = 0;
  int wake_read_ = -1, wake_write_ = -1;
  std::atomic<bool> stop_{false};
  std::vector<std::unique_ptr<Client>> clients_;
  Poller poller_;
  std::vector<Poller::Ready> ready_;  // what the last wait found (buffer reused)
  int next_client_number_ = 1;
  std::atomic<long> steps_{0};  // read by tests while the field runs
  double close_grace_ = 1.0;
  bool clock_started_ = false;  // "--players" have joined (or were waited for long enough)
  std::chrono::steady_clock::time_point hold_until_;
  std::string message_;  // the perceptor message being sent (buffer reused)
  std::function<void()> on_step_;
  // The monitor stream for the trainer clients (buffers reused).
  MonitorStream monitor_;
  SceneSnapshot scene_;
  std::string frame_, full_frame_;
};

#endif
