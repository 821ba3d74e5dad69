#ifndef VEKTORLING_TESTS_WATCH_MONITORRECORDING_H
#define VEKTORLING_TESTS_WATCH_MONITORRECORDING_H

#include <fstream>
#include <string>
#include <vector>

// The frames of a piece of the real server's monitor stream kept in
// tests/data (its header says how it was recorded and what happens in it),
// one frame per entry.
inline std::vector<std::string> MonitorRecording(const std::string& file = "monitor-stream.txt") {
  std::ifstream in(std::string(VEKTORLING_SOURCE_DIR) + "/tests/data/" + file);
  std::vector<std::string> frames;
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line[0] != '#') frames.push_back(line);
  }
  return frames;
}

// The text with its first `from` replaced by `to` (unchanged when absent).
inline std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const std::size_t at = text.find(from);
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

#endif
