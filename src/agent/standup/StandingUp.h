#ifndef VEKTORLING_AGENT_STANDUP_STANDINGUP_H
#define VEKTORLING_AGENT_STANDUP_STANDINGUP_H

// Progress of getting up after a fall.
class StandingUp {
public:
  enum Stage {
    READY = 0, UP1 = 1, UP2 = 2, UP3 = 3, UP4 = 4, DOWN1 = 5, DOWN2 = 6, DOWN3 = 7,
    DOWN4 = 8, CHECK = 9, CHECK2 = 10, ROLL1 = 11, ROLL2 = 12, ROLL3 = 13, ROLL4 = 14, MOVE = 15
  };

  void Reset() {
    stage = READY;
    count = 0;
    complete = false;
  }

  Stage stage = READY;
  int count = 0;
  bool complete = false;
};

#endif
