// The progress bar shown on a terminal during a render, and the one-line
// summary printed at the end.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace amprender {

class ProgressBar {
 public:
  // Draws on `stream` only when it is a terminal.
  ProgressBar(std::FILE* stream, int64_t totalFrames);
  void Update(int64_t doneFrames);
  void Clear();  // removes the bar before other output

 private:
  std::FILE* stream_;
  int64_t total_;
  bool enabled_;
  int shown_ = -1;  // per mille last drawn
};

struct RenderStats {
  int64_t frames = 0;
  int sampleRate = 0;
  int channels = 0;
  double cpuSeconds = 0.0;
  double peak = 0.0;        // largest |sample|, full scale = 1
  double sumSquares = 0.0;  // over all samples of all channels
  int64_t nonFinite = 0;    // NaN or infinite samples written as 0
};

// Level in dBFS ("-inf" for silence), one decimal.
std::string FormatDbfs(double linear);
// "9.00 s rendered in 0.312 s CPU (29.0x real time), peak -3.2 dBFS, RMS -17.5 dBFS"
std::string FormatSummary(const RenderStats& stats);

}  // namespace amprender
