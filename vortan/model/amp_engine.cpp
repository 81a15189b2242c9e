#include "vortan/model/amp_engine.h"

#include "vortan/model/biquad_design.h"

namespace vortan {

int OversamplingFactor(double hostRate, bool highQuality) noexcept {
  const int base = hostRate < 50000.0 ? 4 : 2;
  return highQuality ? base * 2 : base;
}

void AmpEngine::designStages(double fsI) noexcept {
  a.designStages(fsI);
  b.designStages(fsI);
}

void AmpEngine::design(double fsI) noexcept {
  a.design(fsI);
  b.design(fsI);
  up1.setCoefficients(kHalfbandLevel1);
  down1.setCoefficients(kHalfbandLevel1);
  up2.setCoefficients(kHalfbandLevel2);
  down2.setCoefficients(kHalfbandLevel2);
  up3.setCoefficients(kHalfbandLevel3);
  down3.setCoefficients(kHalfbandLevel3);
  designHighpass(dcBlocker, 2.0, fsI);
}

void AmpEngine::reset() noexcept {
  a.reset();
  b.reset();
  up1.clear();
  down1.clear();
  up2.clear();
  down2.clear();
  up3.clear();
  down3.clear();
  dcBlocker.clear();
}

float AmpEngine::chainPlain(double x, double aDrive, double bDrive,
                            const ControlValues& c) noexcept {
  const double s = c.channelB ? b.runPlain(x, bDrive, c) : a.runPlain(x, aDrive, c);
  return static_cast<float>(dcBlocker.run(s * 0.01));
}

float AmpEngine::levelTwoPlain(float x, double aDrive, double bDrive, const ControlValues& c,
                               int factor) noexcept {
  float p[2];
  up2.upsamplePlain(x, p[0], p[1]);
  float t[2];
  for (int i = 0; i < 2; ++i) {
    if (factor == 4) {
      t[i] = chainPlain(p[i], aDrive, bDrive, c);
    } else {
      float q[2], r[2];
      up3.upsamplePlain(p[i], q[0], q[1]);
      for (int j = 0; j < 2; ++j) r[j] = chainPlain(q[j], aDrive, bDrive, c);
      t[i] = down3.downsamplePlain(r[0], r[1]);
    }
  }
  return down2.downsamplePlain(t[0], t[1]);
}

float AmpEngine::processFrameReference(float x, double gIn, double aDrive, double bDrive,
                                       const ControlValues& c, int factor) noexcept {
  float u[2];
  up1.upsamplePlain(x, u[0], u[1]);
  float w[2];
  for (int i = 0; i < 2; ++i) {
    const double g = u[i] * gIn;
    w[i] = factor == 2 ? chainPlain(g, aDrive, bDrive, c)
                       : levelTwoPlain(static_cast<float>(g), aDrive, bDrive, c, factor);
  }
  return down1.downsamplePlain(w[0], w[1]);
}

}  // namespace vortan
