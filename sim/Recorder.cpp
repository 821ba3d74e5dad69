#include "Recorder.h"

#include <cstdio>

#include "FieldUnits.h"

namespace {

constexpr long kPlotEvery = 5;        // steps between two points of each path in the picture
constexpr long kProgressEvery = 50;        // steps between two updates of the rewritten line
constexpr long kProgressLinesEvery = 500;  // steps between two lines of progress for a log

}  // namespace

Recorder::Recorder(const FieldOptions& options, const World* world) : options_(options), world_(world) {}

bool Recorder::Open(std::string* error) {
  return options_.trace_file.empty() || trace_.Open(options_.trace_file, error);
}

void Recorder::AfterStep() {
  ++steps_;
  const bool plot = !options_.svg_file.empty() && steps_ % kPlotEvery == 0;
  if (trace_.IsOpen() || plot) {
    const WorldSnapshot snapshot = world_->Snapshot();
    trace_.Write(snapshot);
    if (plot) plot_.Add(snapshot);
  }
  const long every = options_.progress == FieldOptions::Progress::kLines ? kProgressLinesEvery : kProgressEvery;
  if (options_.progress != FieldOptions::Progress::kOff && steps_ % every == 0) ShowProgress(false);
}

void Recorder::Finish() {
  ShowProgress(true);
  plot_.Add(world_->Snapshot());
  trace_.Close();
}

void Recorder::ShowProgress(bool last) {
  if (options_.progress == FieldOptions::Progress::kOff) return;
  if (options_.progress == FieldOptions::Progress::kLines) {
    if (!last || steps_ % kProgressLinesEvery != 0) {
      std::fprintf(stderr, "%.*f s simulated\n", last ? 2 : 0, steps_ * FieldUnits::kStepSeconds);
      std::fflush(stderr);
    }
  } else if (!last) {
    std::fprintf(stderr, "\r%.0f s simulated", steps_ * FieldUnits::kStepSeconds);
    std::fflush(stderr);
    progress_shown_ = true;
  } else if (progress_shown_) {
    std::fprintf(stderr, "\r%.2f s simulated\n", steps_ * FieldUnits::kStepSeconds);
    std::fflush(stderr);
  }
}
