// The fast block schedule gives the plain per-sample schedule's output bit for
// bit: two plug-ins, one on each schedule, get the same calls (blocks of 1 to
// 4096 frames, every quality, mono and stereo, both channels, every switch and
// knob moved between blocks, channel switches with their settling, rate
// changes, the GREEN pre-gain glide running across block boundaries).
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ferro/shell/iplug_ferro.h"

namespace {

class ScheduleTwins {
 public:
  ScheduleTwins() {
    reference_->UseReferenceSchedule(true);
    for (IPlug_Ferro* p : {reference_.get(), fast_.get()}) {
      Dispatch(p, vst2::effOpen, 0, 0.0f);
      Dispatch(p, vst2::effSetBlockSize, 1024, 0.0f);
      Dispatch(p, vst2::effMainsChanged, 1, 0.0f);
    }
  }
  void Set(int index, double normalized) {
    reference_->VSTSetParameter(index, normalized);
    fast_->VSTSetParameter(index, normalized);
  }
  void SetRate(float rate) {
    Dispatch(reference_.get(), vst2::effSetSampleRate, 0, rate);
    Dispatch(fast_.get(), vst2::effSetSampleRate, 0, rate);
  }
  // One block of a guitar-like tone whose level sweeps from quiet to far past
  // clipping (grid current, curve ends); returns the first differing frame or -1.
  int Block(int frames) {
    std::vector<double> in[2], out[2][2];
    for (int c = 0; c < 2; ++c) {
      in[c].resize(frames);
      for (int i = 0; i < frames; ++i, ++clock_) {
        const double level = 3.0 * std::pow(std::sin(clock_ * 1.3e-4), 4.0);
        in[c][i] =
            level * std::sin(clock_ * (0.031 + 0.017 * c)) * std::exp(-1e-4 * (clock_ % 9000));
      }
      out[0][c].assign(frames, 0.0);
      out[1][c].assign(frames, 0.0);
    }
    double* ins[2] = {in[0].data(), in[1].data()};
    for (int s = 0; s < 2; ++s) {
      IPlug_Ferro* p = s == 0 ? reference_.get() : fast_.get();
      double* outs[2] = {out[s][0].data(), out[s][1].data()};
      p->GetAEffect()->processDoubleReplacing(p->GetAEffect(), ins, outs, frames);
    }
    for (int i = 0; i < frames; ++i)
      for (int c = 0; c < 2; ++c)
        if (std::memcmp(&out[0][c][i], &out[1][c][i], sizeof(double)) != 0) return i;
    return -1;
  }

 private:
  static void Dispatch(IPlug_Ferro* p, int32_t op, intptr_t value, float opt) {
    p->GetAEffect()->dispatcher(p->GetAEffect(), op, 0, value, nullptr, opt);
  }
  std::unique_ptr<IPlug_Ferro> reference_{new IPlug_Ferro(nullptr)};
  std::unique_ptr<IPlug_Ferro> fast_{new IPlug_Ferro(nullptr)};
  int64_t clock_ = 0;
};

TEST(ScheduleIdentity, FastScheduleMatchesThePlainOneBitForBit) {
  // Every sound parameter but the three set per configuration below.
  const int moved[] = {kRedInput,    kGreenInput,  kRedOutput,   kGreenOutput,   kRedPreGain,
                       kRedPostGain, kRedBass,     kRedMid,      kRedTreble,     kRedPresence,
                       kRedLowEnd,   kGreenBright, kGreenCrunch, kGreenPreGain,  kGreenPostGain,
                       kGreenBass,   kGreenMid,    kGreenTreble, kGreenPresence, kGreenLowEnd,
                       kBias,        kTubeType,    kFeedback,    kDisablePA,     kHifi,
                       kLeadMod};
  const int sizes[] = {1, 7, 64, 512, 4096, 7, 1, 64};
  const float rates[] = {48000.0f, 96000.0f, 44100.0f};
  ScheduleTwins twins;
  uint32_t seed = 12345;
  size_t next = 0;
  int configuration = 0;
  for (double quality : {0.0, 0.5, 1.0}) {  // LOW, HIGH, AUTO
    for (double stereo : {0.0, 1.0}) {
      for (double channel : {1.0, 0.0}) {  // RED, then GREEN
        twins.Set(kOversample, quality);
        twins.Set(kStereo, stereo);
        twins.Set(kChannel, channel);  // a switch settles the engines
        const std::string where = "quality " + std::to_string(quality) + " stereo " +
                                  std::to_string(stereo) + " channel " + std::to_string(channel);
        for (int size : sizes) {
          seed = seed * 1664525u + 1013904223u;
          const int index = moved[next++ % (sizeof moved / sizeof moved[0])];
          twins.Set(index, (seed >> 8) / 16777216.0);
          // A new pre-gain glides over the next small blocks.
          if (size == 1) twins.Set(kGreenPreGain, (seed >> 4 & 0xff) / 255.0);
          ASSERT_EQ(twins.Block(size), -1)
              << where << ", block of " << size << " after parameter " << index;
        }
        twins.SetRate(rates[configuration++ % 3]);
        ASSERT_EQ(twins.Block(300), -1) << where << ", after a rate change";
      }
    }
  }
}

}  // namespace
