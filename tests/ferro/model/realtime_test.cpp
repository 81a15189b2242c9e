// The engine's audio path allocates nothing: both frames, both schedules (and
// the two-engine one), both channels, and the GREEN pre-gain glide that
// redesigns on the audio thread.
#include <gtest/gtest.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <new>

#include "ferro/model/amp_ferro.h"

namespace {
std::atomic<long> g_allocations{0};
}  // namespace

// AddressSanitizer brings its own allocation functions, and memory from one
// may reach the other's release; the count runs in the other builds.
#if defined(__SANITIZE_ADDRESS__)
#define VALVE_COUNTS_ALLOCATIONS 0
#else
#define VALVE_COUNTS_ALLOCATIONS 1
// The replacements take their memory from malloc, so free is the matching
// release; GCC assumes the built-in new and would warn otherwise.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
  g_allocations.fetch_add(1, std::memory_order_relaxed);
  if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
#pragma GCC diagnostic pop
#endif

namespace Ostra {
namespace {

TEST(AmpFerroRealTime, FramesAndGlideAllocateNothing) {
  if (!VALVE_COUNTS_ALLOCATIONS) GTEST_SKIP() << "allocation counting is off under ASan";
  std::unique_ptr<Amp_Ferro[]> amps(new Amp_Ferro[2]);
  Amp_Ferro* amp = &amps[0];
  for (int side = 0; side < 2; ++side) {
    amps[side].Initialise(88200.0);
    amps[side].SetPreGain(0.8);  // the GREEN glide now redesigns every 51 samples
  }
  const long before = g_allocations.load();
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
  EXPECT_EQ(g_allocations.load() - before, 0);
  EXPECT_TRUE(std::isfinite(sum));
}

}  // namespace
}  // namespace Ostra
