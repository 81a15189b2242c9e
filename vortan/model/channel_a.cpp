#include "vortan/model/channel_a.h"

namespace vortan {

void ChannelA::designStages(double fsI) noexcept {
  v1.design(kTriodeStageParts[kA1], fsI);
  v2.design(kTriodeStageParts[kA2], fsI);
  v3.design(kTriodeStageParts[kA3], fsI);
}

void ChannelA::design(double fsI) noexcept {
  v1.setRate(fsI);
  v2.setRate(fsI);
  v3.setRate(fsI);
  designLowShelf(bottom, 300.0, fsI, 1.333, kShelfB1_333);
  lowcut.design(0.00063662, 1.0 / fsI);
  designLowShelf(bright, 3000.0, fsI, 0.333, kShelfB0_333);
  designHighShelf7(clean, 2000.0, fsI);
  designLowShelf(crunch, 500.0, fsI, 0.45, kShelfB0_45);
  designLowpass(lp, 5000.0, fsI);
  open.design(kToneStackOpen, fsI);
  focus.design(kToneStackFocus, fsI);
}

void ChannelA::reset() noexcept {
  v1.resetToOperatingPoint();
  v2.resetToOperatingPoint();
  v3.resetToOperatingPoint();
  bottom.clear();
  lowcut.clear();
  bright.clear();
  clean.clear();
  crunch.clear();
  lp.clear();
  open.clear();
  focus.clear();
}

}  // namespace vortan
