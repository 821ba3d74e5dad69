#ifndef VEKTORLING_SIM_TRACE_H
#define VEKTORLING_SIM_TRACE_H

#include <cstdio>
#include <string>
#include <vector>

#include "World.h"

// The step-by-step record of a match: one JSON object per line and step,
//   {"t":..., "now":..., "pm":"...", "score":[l,r],
//    "ball":{"pos":[x,y,z],"vel":[x,y,z]},
//    "robots":[{"team":"...","side":"L","unum":1,"pos":[x,y,z],"heading":deg,"fallen":false}, ...]}
class Trace {
public:
  Trace() = default;
  ~Trace();
  Trace(const Trace&) = delete;
  Trace& operator=(const Trace&) = delete;

  // Creates (truncates) the file; false with a reason when it cannot.
  bool Open(const std::string& path, std::string* error);
  bool IsOpen() const { return file_ != nullptr; }
  // Appends the line of one step. A failed write is reported once on
  // standard error and the trace stops.
  void Write(const WorldSnapshot& snapshot);
  // Flushes and closes the file.
  void Close();

  // The line of one snapshot, without the line end, into *line (reused).
  static void FormatLine(const WorldSnapshot& snapshot, std::string* line);
  // Appends `text` as a JSON string literal, quotes included.
  static void AppendJsonString(const std::string& text, std::string* out);

private:
  std::FILE* file_ = nullptr;
  std::vector<char> buffer_;  // the stream's buffer; outlives it
  std::string path_;
  std::string line_;
};

#endif
