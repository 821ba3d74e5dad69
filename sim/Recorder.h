#ifndef VEKTORLING_SIM_RECORDER_H
#define VEKTORLING_SIM_RECORDER_H

#include "FieldOptions.h"
#include "SvgPlot.h"
#include "Trace.h"
#include "World.h"

// What the practice field records of a match as it goes, as the options ask:
// the trace (a line per step), the picture (a point every few steps and one
// at the end) and the simulated time on standard error. Told of every step
// by the server; knows nothing of the network.
class Recorder {
public:
  // The world must outlive the recorder.
  Recorder(const FieldOptions& options, const World* world);

  // Creates the trace file when one is asked for; false with one line in *error.
  bool Open(std::string* error);
  // After each step of the world.
  void AfterStep();
  // After the match: the last line of progress and point of the picture;
  // closes the trace.
  void Finish();

  const SvgPlot& Plot() const { return plot_; }

private:
  void ShowProgress(bool last);

  FieldOptions options_;
  const World* world_;
  long steps_ = 0;
  Trace trace_;
  SvgPlot plot_;
  bool progress_shown_ = false;
};

#endif
