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

void AmpProcessor::advance(const ControlValues& c, float inL, float inR, Frames& f,
                           int j) noexcept {
  gIn_ = 0.001 * c.inputTarget + 0.999 * gIn_;
  aDrv_ = 0.001 * c.aDriveTarget + 0.999 * aDrv_;
  bDrv_ = 0.001 * c.bDriveTarget + 0.999 * bDrv_;
  f.gIn[j] = gIn_;
  f.aDrv[j] = aDrv_;
  f.bDrv[j] = bDrv_;

  // A 1e-8 tone keeps every recursive filter out of denormals in silence.
  const double tone = 1e-8 * std::sin(toneFrame_ * T_ * 62831.9304);
  if (++toneFrame_ == kToneWrap) toneFrame_ = 0;

  f.x[0][j] = static_cast<float>(sanitizeInput(inL) + tone);
  f.x[1][j] = c.stereo ? static_cast<float>(sanitizeInput(inR) + tone) : 0.0f;
}

void AmpProcessor::processFrame(float inL, float inR, float& outL, float& outR) noexcept {
  if (controls_.takeRedesignRequest()) design();
  const ControlValues c = controls_.read();
  Frames f;
  advance(c, inL, inR, f, 0);
  if (c.stereo) {
    runFrames<2>(f, 1, c);
    outL = f.y[0][0] * c.volume;
    outR = f.y[1][0] * c.volume;
  } else {
    runFrames<1>(f, 1, c);
    outL = f.y[0][0] * c.volume;
    outR = outL;
  }
}

template <int L, int G>
void AmpProcessor::runBatch(AmpEngine* const (&e)[L], Frames& f, int at,
                            const ControlValues& c) noexcept {
  float x[L][G], y[L][G];
  double g[G], a[G], b[G];
  for (int j = 0; j < G; ++j) {
    for (int k = 0; k < L; ++k) x[k][j] = f.x[k][at + j];
    g[j] = f.gIn[at + j];
    a[j] = f.aDrv[at + j];
    b[j] = f.bDrv[at + j];
  }
  if (factor_ == 2) {
    AmpEngine::processLanes<2>(e, x, g, a, b, c, y);
  } else if (factor_ == 4) {
    AmpEngine::processLanes<4>(e, x, g, a, b, c, y);
  } else {
    AmpEngine::processLanes<8>(e, x, g, a, b, c, y);
  }
  for (int j = 0; j < G; ++j) {
    for (int k = 0; k < L; ++k) f.y[k][at + j] = y[k][j];
  }
}

template <int L>
void AmpProcessor::runFrames(Frames& f, int n, const ControlValues& c) noexcept {
  AmpEngine* e[L];
  for (int k = 0; k < L; ++k) e[k] = &engines_[k];
  if (reference_) {
    for (int k = 0; k < L; ++k) {
      f.y[k][0] =
          e[k]->processFrameReference(f.x[k][0], f.gIn[0], f.aDrv[0], f.bDrv[0], c, factor_);
    }
  } else if (n == kGroup) {
    runBatch<L, kGroup>(e, f, 0, c);
  } else {
    for (int j = 0; j < n; ++j) runBatch<L, 1>(e, f, j, c);
  }
  for (int j = 0; j < n; ++j) {
    for (int k = 0; k < L; ++k) {
      if (!std::isfinite(f.y[k][j])) {
        // Cannot happen for clipped input and sane designs; if it does, start
        // the engine afresh rather than output NaN for good. (In a batch the
        // frames after the faulty one have already run from the faulty state;
        // those that came out non-finite too are silenced the same way.)
        e[k]->reset();
        f.y[k][j] = 0.0f;
      }
    }
  }
}

void AmpProcessor::process(const float* inL, const float* inR, float* outL, float* outR,
                           int frames) noexcept {
  if (reference_) {
    for (int i = 0; i < frames; ++i) {
      const float l = inL[i];
      const float r = inR[i];
      float yl, yr;
      processFrame(l, r, yl, yr);
      outL[i] = yl;
      outR[i] = yr;
    }
    return;
  }
  // Frames are batched while the controls stay the same and no redesign is
  // pending; each frame still takes its controls and the redesign request at
  // its own start, as processFrame() does.
  int i = 0;
  while (i < frames) {
    if (controls_.takeRedesignRequest()) design();
    const ControlValues c = controls_.read();
    Frames f;
    int n = 0;
    for (;;) {
      advance(c, inL[i + n], inR[i + n], f, n);
      ++n;
      if (n == kGroup || i + n == frames || controls_.redesignPending()) break;
      if (!(controls_.read() == c)) break;
    }
    if (c.stereo) {
      runFrames<2>(f, n, c);
      for (int j = 0; j < n; ++j) {
        outL[i + j] = f.y[0][j] * c.volume;
        outR[i + j] = f.y[1][j] * c.volume;
      }
    } else {
      runFrames<1>(f, n, c);
      for (int j = 0; j < n; ++j) {
        const float y = f.y[0][j] * c.volume;
        outL[i + j] = y;
        outR[i + j] = y;
      }
    }
    i += n;
  }
}

}  // namespace vortan
