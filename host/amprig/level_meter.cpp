#include "host/amprig/level_meter.h"

#include <cmath>

namespace amprig {

double ToDb(double linear) { return linear > 1e-10 ? 20.0 * std::log10(linear) : -200.0; }

void LevelMeter::Add(const PeriodLevel& period, double nowSeconds) {
  if (period.peak > peak_) peak_ = period.peak;
  sumSquares_ += period.sumSquares;
  frames_ += period.frames;
  if (period.peak >= kClipLevel) clipUntil_ = nowSeconds + kClipHoldSeconds;
}

LevelMeter::Reading LevelMeter::Read(double nowSeconds) {
  Reading r;
  r.peakDb = ToDb(peak_);
  r.rmsDb = frames_ > 0 ? ToDb(std::sqrt(sumSquares_ / static_cast<double>(frames_))) : -200.0;
  r.clip = nowSeconds < clipUntil_;
  peak_ = 0.0f;
  sumSquares_ = 0.0;
  frames_ = 0;
  return r;
}

}  // namespace amprig
