#include "vortan/model/amp_processor.h"

#include <cmath>

namespace vortan {
namespace {

constexpr double kMinDesignRate = 8000.0;

float sanitizeInput(float x) noexcept {
  if (std::isnan(x)) return 0.0f;
  if (x > AmpProcessor::kInputLimit) return AmpProcessor::kInputLimit;
  if (x < -AmpProcessor::kInputLimit) return -AmpProcessor::kInputLimit;
  return x;
}

}  // namespace

AmpProcessor::AmpProcessor() noexcept : sampleRate_(kDefaultSampleRate) {
  design();
  designTriodeStages();
}

void AmpProcessor::setSampleRate(double rate) noexcept {
  if (!std::isfinite(rate) || rate <= 0.0) return;
  sampleRate_.store(rate, std::memory_order_relaxed);
  controls_.requestRedesign();
}

void AmpProcessor::designNow() noexcept {
  controls_.takeRedesignRequest();
  design();
}

void AmpProcessor::clearHalfbandMemories() noexcept {
  for (AmpEngine& e : engines_) {
    e.up1.clear();
    e.down1.clear();
    e.up2.clear();
    e.down2.clear();
    e.up3.clear();
    e.down3.clear();
  }
}

void AmpProcessor::designTriodeStages() noexcept {
  for (AmpEngine& e : engines_) e.designStages(fsI_);
}

void AmpProcessor::design() noexcept {
  double rate = sampleRate_.load(std::memory_order_relaxed);
  if (rate < kMinDesignRate) rate = kMinDesignRate;
  factor_ = OversamplingFactor(rate, controls_.highQuality());
  fsI_ = factor_ * rate;
  T_ = 1.0 / fsI_;
  for (AmpEngine& e : engines_) e.design(fsI_);
}

void AmpProcessor::processFrame(float inL, float inR, float& outL, float& outR) noexcept {
  if (controls_.takeRedesignRequest()) design();
  const ControlValues c = controls_.read();

  gIn_ = 0.001 * c.inputTarget + 0.999 * gIn_;
  aDrv_ = 0.001 * c.aDriveTarget + 0.999 * aDrv_;
  bDrv_ = 0.001 * c.bDriveTarget + 0.999 * bDrv_;

  // A 1e-8 tone keeps every recursive filter out of denormals in silence.
  const double tone = 1e-8 * std::sin(toneFrame_ * T_ * 62831.9304);
  if (++toneFrame_ == kToneWrap) toneFrame_ = 0;

  const float xl = static_cast<float>(sanitizeInput(inL) + tone);
  float yl = engines_[0].processFrame(xl, gIn_, aDrv_, bDrv_, c, factor_);
  if (!std::isfinite(yl)) {
    // Cannot happen for clipped input and sane designs; if it does, start
    // the engine afresh rather than output NaN for good.
    engines_[0].reset();
    yl = 0.0f;
  }
  outL = yl * c.volume;
  if (c.stereo) {
    const float xr = static_cast<float>(sanitizeInput(inR) + tone);
    float yr = engines_[1].processFrame(xr, gIn_, aDrv_, bDrv_, c, factor_);
    if (!std::isfinite(yr)) {
      engines_[1].reset();
      yr = 0.0f;
    }
    outR = yr * c.volume;
  } else {
    outR = outL;
  }
}

void AmpProcessor::process(const float* inL, const float* inR, float* outL, float* outR,
                           int frames) noexcept {
  for (int i = 0; i < frames; ++i) {
    const float l = inL[i];
    const float r = inR[i];
    float yl, yr;
    processFrame(l, r, yl, yr);
    outL[i] = yl;
    outR[i] = yr;
  }
}

}  // namespace vortan
