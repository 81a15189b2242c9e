// Peak and RMS of a signal, in two halves: the audio thread sums each period
// into a PeriodLevel and hands it over through a ring; the control thread
// folds the periods into a window and keeps the clip indicator.
#pragma once

#include <cstddef>

namespace amprig {

// One period of one signal, as the audio thread measured it.
struct PeriodLevel {
  float peak = 0.0f;    // largest |x|
  double sumSquares = 0.0;
  int frames = 0;
};

// Audio thread: the level of `frames` samples.
inline PeriodLevel MeasurePeriod(const float* x, int frames) noexcept {
  PeriodLevel level;
  for (int i = 0; i < frames; ++i) {
    const float a = x[i] < 0.0f ? -x[i] : x[i];
    if (a > level.peak) level.peak = a;
    level.sumSquares += static_cast<double>(x[i]) * x[i];
  }
  level.frames = frames;
  return level;
}

// Control thread: the levels of the periods since the last Read, and the
// clip indicator, lit when a sample reached full scale and held kClipHoldSeconds.
class LevelMeter {
 public:
  static constexpr double kClipHoldSeconds = 2.0;
  static constexpr float kClipLevel = 1.0f;  // 0 dBFS

  void Add(const PeriodLevel& period, double nowSeconds);

  struct Reading {
    double peakDb = -200.0;  // since the last Read
    double rmsDb = -200.0;
    bool clip = false;
  };
  // The window since the previous call; starts a new one.
  Reading Read(double nowSeconds);

 private:
  float peak_ = 0.0f;
  double sumSquares_ = 0.0;
  long frames_ = 0;
  double clipUntil_ = -1.0;
};

// 20 log10(x), -200 for silence.
double ToDb(double linear);

}  // namespace amprig
