#include "vortan/model/channel_b.h"

#include <initializer_list>

namespace vortan {

void ChannelB::designStages(double fsI) noexcept {
  v1.design(kTriodeStageParts[kB1], fsI);
  v2.design(kTriodeStageParts[kB2], fsI);
  v3.design(kTriodeStageParts[kB3], fsI);
  v4.design(kTriodeStageParts[kB4], fsI);
}

void ChannelB::design(double fsI) noexcept {
  const double T = 1.0 / fsI;
  v1.setRate(fsI);
  v2.setRate(fsI);
  v3.setRate(fsI);
  v4.setRate(fsI);
  in.design(0.00021220666666666664, 0.75, T);
  designLowShelf(shelf, 5000.0, fsI, 0.333, kShelfB0_333);
  designLowpass(lp3k1, 3000.0, fsI);
  designLowpass(lp3k2, 3000.0, fsI);
  designLowpass(lp3k3, 3000.0, fsI);
  designLowpass(lp5k1, 5000.0, fsI);
  designLowpass(lp5k2, 5000.0, fsI);
  designLowShelf(low, 300.0, fsI, 0.666, kShelfB0_666);
  lowLp.design(0.00005305166666666666, 0.325, T);
  designLowShelf(high, 500.0, fsI, 0.45, kShelfB0_45);
  highLp.design(0.00005894629629629629, 0.716, T);
  midLp.design(0.00004897076923076923, 1.0, T);
  designLowShelf(bottom, 300.0, fsI, 1.75, kShelfB1_75);
  designPeak(bright, 4000.0, fsI);
  open.design(kToneStackOpen, fsI);
  focus.design(kToneStackFocus, fsI);
}

void ChannelB::reset() noexcept {
  v1.resetToOperatingPoint();
  v2.resetToOperatingPoint();
  v3.resetToOperatingPoint();
  v4.resetToOperatingPoint();
  for (OnePoleLowpass* f : {&in, &lowLp, &highLp, &midLp}) f->clear();
  for (Biquad* f : {&shelf, &lp3k1, &lp3k2, &lp3k3, &lp5k1, &lp5k2, &low, &high, &bottom, &bright})
    f->clear();
  open.clear();
  focus.clear();
}

}  // namespace vortan
