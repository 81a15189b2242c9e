// The progress bar shown on a terminal during a render, and the one-line
// summary printed at the end.
#pragma once

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

namespace amprender {

// One bar for a whole render or batch; the jobs of a batch advance it from
// their own threads.
class ProgressBar {
 public:
  // Draws on `stream` only when it is a terminal.
  ProgressBar(std::FILE* stream, int64_t totalFrames);
  void Advance(int64_t frames);
  void Clear();  // removes the bar before other output
  // Runs `print` with the bar cleared and redraws it afterwards.
  template <typename F>
  void Around(F print) {
    std::lock_guard<std::mutex> lock(mutex_);
    ClearLocked();
    print();
    DrawLocked();
  }

 private:
  void DrawLocked();
  void ClearLocked();

  std::FILE* stream_;
  int64_t total_;
  bool enabled_;
  std::atomic<int64_t> done_{0};
  std::mutex mutex_;
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
  double inPeak = 0.0;      // the input, the same way
  double inSumSquares = 0.0;
  int64_t inSamples = 0;
};

double Rms(double sumSquares, int64_t samples);
// A DI track has a high crest factor and headroom; a mastered line-level mix
// reaches full scale with a loud average: peak at or above -1 dBFS with an
// RMS at or above -18 dBFS.
bool LooksLikeLineLevel(const RenderStats& stats);

// Level in dBFS ("-inf" for silence), one decimal.
std::string FormatDbfs(double linear);
// "9.00 s rendered in 0.312 s CPU (29.0x real time), peak -3.2 dBFS, RMS -17.5 dBFS
//  (input peak -6.0 dBFS, RMS -24.1 dBFS)"
std::string FormatSummary(const RenderStats& stats);

}  // namespace amprender
