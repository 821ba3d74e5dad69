#include "tool/Locus.h"

Locus::Locus()
    : right_target_x_(0.0),
      right_target_y_(0.0),
      left_target_x_(0.0),
      left_target_y_(0.0),
      cycle_(new ValueManager<int>(0, 0, 0, 1)) {}

Locus::~Locus() { delete cycle_; }
