#include "host/amprig/status_line.h"

#include <cstdio>

namespace amprig {
namespace {
std::string Levels(const char* label, const LevelMeter::Reading& r) {
  char text[64];
  if (r.peakDb <= -120.0)
    std::snprintf(text, sizeof text, "%s   -inf pk   -inf rms    ", label);
  else
    std::snprintf(text, sizeof text, "%s %6.1f pk %6.1f rms %s", label, r.peakDb,
                  r.rmsDb < -120.0 ? -120.0 : r.rmsDb, r.clip ? "CLIP" : "    ");
  return text;
}
}  // namespace

std::string FormatStatus(const RigStatus& s) {
  char tuner[32];
  if (s.tuner.valid)
    std::snprintf(tuner, sizeof tuner, "%-3s %+3dc", s.tuner.note.c_str(), s.tuner.cents);
  else
    std::snprintf(tuner, sizeof tuner, " --     ");
  char tail[64];
  std::snprintf(tail, sizeof tail, " | xruns %d | DSP %3.0f%%", s.xruns, s.dspLoadPercent);
  return Levels("in ", s.in) + " | " + Levels("out", s.out) + " | " + tuner + tail;
}

}  // namespace amprig
