#ifndef VEKTORLING_SIM_WORLD_H
#define VEKTORLING_SIM_WORLD_H

#include <array>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <Eigen/Dense>

#include "SceneSnapshot.h"

// Settings of one match on the practice field.
struct WorldConfig {
  unsigned seed = 1;            // seeds every random draw (vision noise, beam noise, pushes)
  bool noise = true;            // vision and beam noise as the real server's
  double kickoff_after = -1.0;  // seconds of "BeforeKickOff" before the kick-off; < 0: wait for the trainer
  double duration = -1.0;       // simulated seconds until the match ends; < 0: endless
  double playon_after = 5.0;    // seconds after a kick-off until "PlayOn" if nobody touches the ball
  int pushes = 0;               // robots knocked over at random moments of a match with a duration
  // Trainer commands carried out at given simulated times (seconds), in the
  // first step that reaches the time, before the robots move; in time order.
  std::vector<std::pair<double, std::string>> scheduled;
};

// One robot as the trace and the picture show it.
struct RobotSnapshot {
  std::string team;
  char side = 'N';  // 'L' or 'R'
  int unum = 0;
  double x = 0, y = 0, z = 0;  // torso position, server frame, metres
  double heading = 0;          // degrees, 0 = facing +x
  bool fallen = false;
  int steps = 0;      // changes of the supporting foot so far
  double stride = 0;  // metres the footprints advanced so far
  std::array<double, 22> joints{};  // angles in degrees, in effector command order
};

struct WorldSnapshot {
  double now = 0;        // server clock, seconds since start
  double game_time = 0;  // game time ("t"), 0 before the kick-off
  std::string playmode;
  int score_left = 0, score_right = 0;
  Eigen::Vector3d ball_pos = Eigen::Vector3d::Zero();
  Eigen::Vector3d ball_vel = Eigen::Vector3d::Zero();
  std::vector<RobotSnapshot> robots;  // registered robots only
};

// What a robot did during the match, for the summary.
struct RobotStats {
  std::string team;
  char side = 'N';
  int unum = 0;
  double distance_walked = 0;  // metres of torso travel, step by step (beams excluded)
  int steps = 0;               // changes of the supporting foot
  double stride = 0;           // metres the footprints advanced along the heading
  int falls = 0;
  int standups = 0;
  int ball_touches = 0;
};

class WorldImpl;

// The simulated match: robots, ball, referee, perception. Knows nothing of
// sockets; the server feeds it commands and asks it for messages.
class World {
public:
  explicit World(const WorldConfig& config);
  ~World();

  // A new connection asked for a robot body of this type (0 to 4; the
  // scene command picks it). Returns its id.
  int CreateRobot(int type = 0);

  enum class InitResult {
    kPlaced,       // a player of its team
    kOutsideTeam,  // refused by the robot type rules, but stays on the field
    kRejected,     // refused; the robot is removed
  };
  // The init command: team name and requested number (0 = next free).
  // kRejected for a third team, a number outside 0 to 11, a full team or a
  // number already taken. kOutsideTeam when the team's robot types refuse
  // this one: the robot stays where it is, in no team, and its number stays
  // taken for the rest of the match. *why gets the reason for either; *unum_given
  // (when not null) the number it plays with or keeps taken.
  InitResult InitRobot(int id, const std::string& team, int unum, std::string* why, int* unum_given = nullptr);
  // The connection is gone; its robot leaves the field.
  void RemoveRobot(int id);
  // One answer of a player: joint velocities, beam, say; "(syn)" and
  // unknown commands are ignored. The text has been checked to be well formed.
  void ApplyCommands(int id, const std::string& text);
  // The perceptor message for this robot now (one per robot and step). A
  // robot outside the teams sees the landmarks, the ball and the players,
  // and hears nothing.
  std::string Perceive(int id);
  // The same message written into *message (its old text replaced), so that
  // a caller sending many keeps one buffer; empty for an unknown id.
  void Perceive(int id, std::string* message);
  // Advances the simulation by one 20 ms step.
  void Step();
  // A trainer command such as "(playMode KickOff_Left)"; false when not understood.
  bool TrainerCommand(const std::string& text);
  // The match is over (duration reached or "(killsim)").
  bool Finished() const;

  WorldSnapshot Snapshot() const;
  // Every body part and the ball, as the monitor stream shows them, into
  // *scene (its buffers reused).
  void Scene(SceneSnapshot* scene) const;
  std::vector<RobotStats> Stats() const;

private:
  std::unique_ptr<WorldImpl> impl_;
};

#endif
