// The engine's audio path allocates nothing: both frames, both schedules (and
// the two-engine one), both channels, and the GREEN pre-gain glide that
// redesigns on the audio thread.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "ferro/model/amp_ferro.h"
#include "tests/support/allocation_count.h"

namespace Ostra {
namespace {

TEST(AmpFerroRealTime, FramesAndGlideAllocateNothing) {
  if (!valve_test::CountsAllocations()) GTEST_SKIP() << "allocation counting is off under ASan";
  std::unique_ptr<Amp_Ferro[]> amps(new Amp_Ferro[2]);
  Amp_Ferro* amp = &amps[0];
  for (int side = 0; side < 2; ++side) {
    amps[side].Initialise(88200.0);
    amps[side].SetPreGain(0.8);  // the GREEN glide now redesigns every 51 samples
  }
  const long before = valve_test::AllocationCount();
  double sum = 0.0;
  for (int channel = 0; channel < 2; ++channel) {
    amps[0].SetChannel(channel);
    amps[1].SetChannel(channel);
    for (int n = 0; n < 4000; ++n) {
      double s = 0.2 * std::sin(0.02 * n);
      if (n % 2) {
        amp->ProcessOversampled4(s);
      } else {
        amp->ProcessOversampled2(s);
      }
      sum += s;
    }
    // The block schedule: its buffers live on the stack.
    double block[300];
    for (int n = 0; n < 300; ++n) block[n] = 0.2 * std::sin(0.03 * n);
    amp->ProcessBlock2(block, 300);
    amp->ProcessBlock4(block, 300);
    double right[300];
    for (int n = 0; n < 300; ++n) right[n] = block[n];
    Amp_Ferro::ProcessBlockPair2(amps[0], amps[1], block, right, 300);
    Amp_Ferro::ProcessBlockPair4(amps[0], amps[1], block, right, 300);
    sum += block[299] + right[299];
  }
  EXPECT_EQ(valve_test::AllocationCount() - before, 0);
  EXPECT_TRUE(std::isfinite(sum));
}

}  // namespace
}  // namespace Ostra
