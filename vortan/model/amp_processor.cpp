#include "vortan/model/amp_processor.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

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
  const char* reference = std::getenv("VORTAN_REFERENCE_PATH");
  reference_ = reference && *reference && std::strcmp(reference, "0") != 0;
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
  if (c.stereo) {
    const float xr = static_cast<float>(sanitizeInput(inR) + tone);
    AmpEngine* const e[2] = {&engines_[0], &engines_[1]};
    const float x[2] = {xl, xr};
    float y[2];
    runLanes(e, x, c, y);
    outL = y[0] * c.volume;
    outR = y[1] * c.volume;
  } else {
    AmpEngine* const e[1] = {&engines_[0]};
    const float x[1] = {xl};
    float y[1];
    runLanes(e, x, c, y);
    outL = y[0] * c.volume;
    outR = outL;
  }
}

template <int L>
void AmpProcessor::runLanes(AmpEngine* const (&e)[L], const float (&x)[L], const ControlValues& c,
                            float (&y)[L]) noexcept {
  if (reference_) {
    for (int k = 0; k < L; ++k) {
      y[k] = e[k]->processFrameReference(x[k], gIn_, aDrv_, bDrv_, c, factor_);
    }
  } else if (factor_ == 2) {
    AmpEngine::processLanes<2>(e, x, gIn_, aDrv_, bDrv_, c, y);
  } else if (factor_ == 4) {
    AmpEngine::processLanes<4>(e, x, gIn_, aDrv_, bDrv_, c, y);
  } else {
    AmpEngine::processLanes<8>(e, x, gIn_, aDrv_, bDrv_, c, y);
  }
  for (int k = 0; k < L; ++k) {
    if (!std::isfinite(y[k])) {
      // Cannot happen for clipped input and sane designs; if it does, start
      // the engine afresh rather than output NaN for good.
      e[k]->reset();
      y[k] = 0.0f;
    }
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
