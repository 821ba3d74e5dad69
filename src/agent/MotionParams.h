#ifndef VEKTORLING_AGENT_MOTIONPARAMS_H
#define VEKTORLING_AGENT_MOTIONPARAMS_H

#include <ostream>
#include <string>

#include "agent/head/HeadEngine.h"
#include "agent/kick/KickEngine.h"
#include "agent/kick/KickOffEngine.h"
#include "agent/posture/PostureEngine.h"
#include "agent/standup/StandUpEngine.h"
#include "agent/walking/WalkEngine.h"

// Behaviour around the motions. The defaults keep the behaviour as it was.
struct BehaviorParams {
  // After getting up the walk starts again from a standstill and ramps up
  // (false: it goes on at the speed it had when the robot fell).
  bool walk_restart_from_zero = false;
  // The estimates stay as they are while the robot lies (the
  // accelerometer's z below upright_acc_z; 0: only once the fall is
  // noticed, which suits the real server, whose accelerometer reads about 0
  // on z for a robot standing still), gets up, and for settle_time seconds
  // after (false: only while the stand-up runs).
  bool hold_estimates_when_fallen = false;
  double settle_time = 1.0;
  double upright_acc_z = 0.0;
};

// Every engine's parameters and the behaviour around them: what a
// parameter file sets.
struct MotionParams {
  WalkParams walk;
  KickParams kick;
  KickOffParams kick_off;
  StandUpParams stand_up;
  HeadParams head;
  PostureParams posture;
  BehaviorParams behavior;
};

// A parameter file: one "key = value" per line; '#' starts a comment; blank
// lines are skipped. Values are finite decimal numbers within the key's
// range (flags: 0 or 1), except the keys ending in "_file", whose value is
// the path of a motion-sequence document (relative to the parameter
// file's folder). Only the keys the file names change.
//
// Reads `path` over `params`. On any fault nothing changes, false is
// returned and `error` holds one line "FILE:LINE: KEY: what is wrong".
bool LoadMotionParams(const std::string& path, MotionParams* params, std::string* error);

// Writes every numeric key with its value, one "key = value" line each, in
// a form that reads back to the same value.
void WriteMotionParams(const MotionParams& params, std::ostream& out);

// Lists every key with its range and meaning, one line each.
void DescribeMotionParams(std::ostream& out);

#endif  // VEKTORLING_AGENT_MOTIONPARAMS_H
