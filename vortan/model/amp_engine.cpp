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

}  // namespace vortan
