// The one-line status amprig keeps on the terminal: levels, clip, tuner,
// xruns and DSP load.
#pragma once

#include <string>

#include "host/amprig/level_meter.h"
#include "host/amprig/tuner.h"

namespace amprig {

struct RigStatus {
  LevelMeter::Reading in, out;
  TunerReading tuner;
  int xruns = 0;
  float dspLoadPercent = 0.0f;
};

// "in  -18.0 pk -27.1 rms | out  -6.2 pk -15.0 rms CLIP | A2 +3c | xruns 0 | DSP 12%"
std::string FormatStatus(const RigStatus& status);

}  // namespace amprig
