// Output file names of a run: "{step}" stands for the step number, padded
// with zeros to the width of the run's last step so that the files of a
// sequence sort in order (a film is made from them by name).
#pragma once

#include <cstdint>
#include <string>

// Every "{step}" in pattern replaced by step, at least digits wide.
std::string StepFileName(const std::string& pattern, int64_t step, int digits);

// The number of decimal digits of a step count (1 for 0).
int DecimalDigits(int64_t value);
