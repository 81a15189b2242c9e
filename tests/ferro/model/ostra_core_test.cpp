// The two- and four-times oversampling frames, with an identity model and
// with a model that records what it is handed.
#include "ferro/model/ostra_core.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "ferro/model/halfband_filter.h"

namespace Ostra {
namespace {

class IdentityCore final : public OstraCore {
 public:
  void ProcessSample(double& /*sample*/) noexcept override { ++calls; }
  int calls = 0;
};

// The frames written out from their description with four free-standing
// filters, for comparison with the core's own.
struct ReferenceFrames {
  HalfbandFilter up1, up2, down1, down2;

  double Low(double s) {
    s = s * 2.0;
    const double u0 = up1.Process(s + 1e-12);
    const double u1 = up1.Process(0.0);
    const double d0 = down2.Process(u0);
    down2.Process(u1);
    return d0;
  }
  double High(double s) {
    s = s * 4.0;
    const double a0 = up1.Process(s + 1e-12);
    const double a1 = up1.Process(0.0);
    const double u[4] = {up2.Process(a0), up2.Process(0.0), up2.Process(a1), up2.Process(0.0)};
    const double t0 = down1.Process(u[0]);
    down1.Process(u[1]);
    const double t1 = down1.Process(u[2]);
    down1.Process(u[3]);
    const double out = down2.Process(t0);
    down2.Process(t1);
    return out;
  }
};

TEST(OstraCore, ConstantInputComesBackAtTheSameLevelInBothFrames) {
  IdentityCore low, high;
  double out_low = 0.0, out_high = 0.0;
  for (int n = 0; n < 20000; ++n) {
    out_low = 0.7;
    low.ProcessOversampled2(out_low);
    out_high = 0.7;
    high.ProcessOversampled4(out_high);
  }
  EXPECT_NEAR(out_low, 0.7, 1e-9);
  EXPECT_NEAR(out_high, 0.7, 1e-9);
  EXPECT_EQ(low.calls, 2 * 20000);
  EXPECT_EQ(high.calls, 4 * 20000);
}

TEST(OstraCore, ImpulseKeepsTheOutputAfterTheFirstSampleOfEachPair) {
  // up1 then down2 at the doubled rate; the frame must return the even
  // samples of that cascade's response, not the odd ones.
  HalfbandFilter up, down;
  std::vector<double> cascade;
  for (int n = 0; n < 400; ++n) {
    const double x = n == 0 ? 2.0 : 0.0;
    cascade.push_back(down.Process(up.Process(x + 1e-12)));
    cascade.push_back(down.Process(up.Process(0.0)));
  }
  IdentityCore core;
  double differs_from_odd = 0.0;
  for (int n = 0; n < 400; ++n) {
    double s = n == 0 ? 1.0 : 0.0;
    core.ProcessOversampled2(s);
    EXPECT_EQ(s, cascade[2 * n]) << "sample " << n;
    differs_from_odd = std::fmax(differs_from_odd, std::fabs(s - cascade[2 * n + 1]));
  }
  EXPECT_GT(differs_from_odd, 1e-3);  // the two phases are told apart
}

TEST(OstraCore, SwitchingFramesKeepsEveryFilterHistory) {
  IdentityCore core;
  ReferenceFrames ref;
  int n = 0;
  auto run = [&](bool high, int count) {
    for (int i = 0; i < count; ++i, ++n) {
      const double x = std::sin(0.05 * n) + 0.3 * std::sin(1.9 * n);
      double s = x;
      if (high) {
        core.ProcessOversampled4(s);
      } else {
        core.ProcessOversampled2(s);
      }
      const double want = high ? ref.High(x) : ref.Low(x);
      ASSERT_EQ(s, want) << (high ? "HIGH" : "LOW") << " sample " << n;
    }
  };
  run(true, 300);
  run(false, 200);
  run(true, 300);  // up-sampler 2 and down-sampler 1 resume their old history
  run(false, 50);
}

}  // namespace
}  // namespace Ostra
