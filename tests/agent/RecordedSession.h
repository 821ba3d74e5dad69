#ifndef VEKTORLING_TESTS_AGENT_RECORDEDSESSION_H
#define VEKTORLING_TESTS_AGENT_RECORDEDSESSION_H

#include <fstream>
#include <string>
#include <vector>

// The messages the real server sent to one standing robot (team "Alpha",
// number 1, left side), one per line.
inline std::vector<std::string> RecordedSession() {
  std::ifstream in(VEKTORLING_SOURCE_DIR "/tests/data/standing-player.txt");
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

#endif
