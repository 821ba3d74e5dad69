#ifndef VEKTORLING_SIM_OPTION_VALUES_H
#define VEKTORLING_SIM_OPTION_VALUES_H

#include <string>

// The values of command-line options, read strictly: the whole text must be
// the number. Shared by the practice field and vektorling-watch.
namespace OptionValues {

// A whole decimal number from min to max.
bool ParseLong(const std::string& text, long min, long max, long* out);
// Seconds: a finite decimal number, 0 or more.
bool ParseSeconds(const std::string& text, double* out);

}  // namespace OptionValues

#endif
