#include "WatchSession.h"

#include <cmath>
#include <cstdio>
#include <utility>

WatchSession::WatchSession(WatchPlan plan) : plan_(std::move(plan)) {}

FrameOutcome WatchSession::OnFrame(std::string_view text) {
  FrameOutcome outcome;
  ++frames_received_;
  if (phase_ == Phase::kDone) return outcome;
  std::string reason;
  if (!reader_.Read(text, &frame_, &reason)) {
    outcome.notes.push_back("frame " + std::to_string(frames_received_) + " skipped: " + reason);
    return outcome;
  }
  switch (scene_.Apply(frame_)) {
    case SceneGraph::Result::kReplaced:
    case SceneGraph::Result::kUpdated:
      break;
    case SceneGraph::Result::kNoScene:
      Drop("a diff before any full state", &outcome);
      return outcome;
    case SceneGraph::Result::kShapeMismatch:
      Drop("a diff of " + std::to_string(frame_.nodes.size()) + " nodes does not fit the scene of " +
               std::to_string(scene_.Nodes().size()),
           &outcome);
      return outcome;
  }
  drops_in_a_row_ = 0;
  game_ = ApplyGameValues(std::move(game_), frame_.values);
  last_ = truth_.Next(scene_.Nodes(), game_);
  ++frames_taken_;
  outcome.taken = true;
  Advance(&outcome);
  return outcome;
}

void WatchSession::Drop(const std::string& why, FrameOutcome* outcome) {
  if (drops_in_a_row_ % kDropsPerRequest == 0) {
    outcome->notes.push_back("frame " + std::to_string(frames_received_) + " dropped: " + why +
                             (drops_in_a_row_ > 0 ? " (" + std::to_string(drops_in_a_row_) + " dropped so far)" : "") +
                             "; asking for a full state");
    outcome->send.push_back("(reqfullstate)");
  }
  ++drops_in_a_row_;
}

void WatchSession::Advance(FrameOutcome* outcome) {
  if (plan_.progress && last_.game_time >= next_progress_) {
    char line[160];
    std::snprintf(line, sizeof line, "game time %.1f s, %s, score %d:%d, %zu robots", last_.game_time,
                  last_.playmode.c_str(), last_.score_left, last_.score_right, last_.robots.size());
    outcome->notes.emplace_back(line);
    next_progress_ = (std::floor(last_.game_time / kProgressEvery) + 1) * kProgressEvery;
  }
  if (phase_ == Phase::kWaitScene) phase_ = Phase::kWaitRobots;
  if (phase_ == Phase::kWaitRobots) {
    if (static_cast<long>(last_.robots.size()) < plan_.wait_robots) return;
    outcome->send.insert(outcome->send.end(), plan_.commands.begin(), plan_.commands.end());
    phase_ = Phase::kRunning;
  } else {
    ++frames_since_commands_;
  }
  const bool time_up = plan_.until >= 0 && last_.game_time >= plan_.until;
  const bool enough_frames = plan_.frames >= 0 && frames_since_commands_ >= plan_.frames;
  if (time_up || enough_frames) {
    phase_ = Phase::kDone;
    outcome->done = true;
  }
}
