#ifndef VEKTORLING_WATCH_WATCH_SESSION_H
#define VEKTORLING_WATCH_WATCH_SESSION_H

#include <string>
#include <string_view>
#include <vector>

#include "GameState.h"
#include "MonitorFrame.h"
#include "SceneGraph.h"
#include "Truth.h"
#include "World.h"

// What a session is to do besides watching.
struct WatchPlan {
  std::vector<std::string> commands;  // trainer commands, sent once the scene is there and the robots have come
  int wait_robots = 0;                // send only once this many robots with side and number are in the scene
  double until = -1;                  // >= 0: done once the game time reaches this (seconds)
  long frames = -1;                   // >= 0: done after this many frames taken after the commands went out
  bool progress = false;              // a note every 10 s of game time
};

// What became of one frame.
struct FrameOutcome {
  bool taken = false;                // the frame changed the state: Last() is the new one
  std::vector<std::string> send;     // trainer commands to send now, in order
  std::vector<std::string> notes;    // lines for standard error (no line end)
  bool done = false;                 // a stop condition holds
};

// One watcher's way through the monitor stream: frames in, the match's
// state, the trainer commands due and the stop decision out. Knows nothing of
// the connection.
//
// A frame that cannot be read is skipped with a note. A diff that does not
// fit the scene (or comes before any full state) is dropped; the first of a
// run of such diffs, and every kDropsPerRequest-th after it, asks the server
// for a full state ("(reqfullstate)") with a note.
class WatchSession {
public:
  enum class Phase {
    kWaitScene,   // no full state yet
    kWaitRobots,  // fewer robots than the plan waits for
    kRunning,     // the commands are out
    kDone,        // a stop condition held
  };
  static constexpr int kDropsPerRequest = 25;
  static constexpr double kProgressEvery = 10.0;  // game seconds

  explicit WatchSession(WatchPlan plan);

  FrameOutcome OnFrame(std::string_view text);

  Phase CurrentPhase() const { return phase_; }
  // The state after the last frame taken; false before the first.
  bool HasState() const { return frames_taken_ > 0; }
  const WorldSnapshot& Last() const { return last_; }
  long FramesTaken() const { return frames_taken_; }

private:
  void Drop(const std::string& why, FrameOutcome* outcome);
  void Advance(FrameOutcome* outcome);

  WatchPlan plan_;
  MonitorFrameReader reader_;
  MonitorFrame frame_;
  SceneGraph scene_;
  GameState game_;
  Truth truth_;
  WorldSnapshot last_;
  Phase phase_ = Phase::kWaitScene;
  long frames_received_ = 0;
  long frames_taken_ = 0;
  long frames_since_commands_ = 0;
  int drops_in_a_row_ = 0;
  double next_progress_ = kProgressEvery;
};

#endif
