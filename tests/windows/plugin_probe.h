// What a host can observe of a plug-in module, gathered the same way from
// the Linux .so and the Windows DLL so the two can be compared: identity,
// every parameter's name, label and display at a few values, chunk sizes and
// hashes, and the audio of a fixed input through all three process callbacks
// at a few parameter settings.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/vst_host.h"

namespace probe {

struct Observation {
  std::vector<std::string> lines;  // one observed fact per line, text
  std::vector<double> samples;     // every output sample, callback by callback
};

// Loads nothing itself: observes instances created from `module`.
Observation Observe(const host::PluginModule& module);

// Serialised form: "lines <n>", the n text lines, "samples <m>", then m
// samples as the 16 hex digits of their bits (exact, and independent of the
// C library's number formatting).
bool Write(const Observation& observation, const std::string& path);
bool Read(const std::string& path, Observation* observation);

// The largest absolute difference of two sample lists (infinity when their
// lengths differ or a value is not finite on one side only).
double LargestDifference(const std::vector<double>& a, const std::vector<double>& b);

}  // namespace probe
