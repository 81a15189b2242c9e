// The fast schedule of the amplifier against its plain per-sample path,
// driven through the plug-in's own entry points: every host rate, quality,
// mono/stereo, channel mode and switch, knob turns, program and chunk loads
// and rate or quality redesigns between blocks of 1 to 4096 frames. The two
// must agree bit for bit.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "vortan/shell/vortan.h"

namespace vortan {
namespace {

std::unique_ptr<Vortan> makePlugin(bool reference) {
  if (reference) setenv("VORTAN_REFERENCE_PATH", "1", 1);
  auto plugin = std::make_unique<Vortan>(nullptr);
  unsetenv("VORTAN_REFERENCE_PATH");
  return plugin;
}

struct Lcg {
  uint32_t s;
  uint32_t next() { return s = s * 1664525u + 1013904223u; }
  float unit() { return static_cast<float>(next() >> 8) / 16777216.0f; }
};

constexpr int kSwitches[] = {kChannel,   kCleanCrunch,  kLowHighGain, kChaOpenFocus, kChaBottom,
                             kChaBright, kChbOpenFocus, kChbBottom,   kChbBright};
constexpr int kKnobs[] = {kInput,    kChaDrive, kChaLow, kChaMid,  kChaHigh,    kChaContour,
                          kChbDrive, kChbLow,   kChbMid, kChbHigh, kChbContour, kVolume};

TEST(FastPathIdentity, MatchesThePlainPathBitForBit) {
  const float rates[] = {44100.0f, 48000.0f, 88200.0f, 96000.0f};
  const int blockSizes[] = {1, 7, 64, 512, 4096};
  for (float rate : rates) {
    for (int stereo = 0; stereo < 2; ++stereo) {
      for (int hq = 0; hq < 2; ++hq) {
        SCOPED_TRACE(::testing::Message() << rate << " Hz, stereo " << stereo << ", HighQ " << hq);
        std::unique_ptr<Vortan> p[2] = {makePlugin(false), makePlugin(true)};
        std::vector<uint8_t> bank;
        {
          void* data = nullptr;
          const int32_t size = p[0]->getChunk(&data, false);
          bank.assign(static_cast<uint8_t*>(data), static_cast<uint8_t*>(data) + size);
        }
        Lcg rng{static_cast<uint32_t>(rate) + 7u * stereo + 3u * hq};
        auto both = [&](auto&& f) {
          for (auto& plugin : p) f(*plugin);
        };
        both([&](Vortan& v) {
          v.setSampleRate(rate);
          v.setParameter(kMonoStereo, static_cast<float>(stereo));
          v.setParameter(kQuality, static_cast<float>(hq));
        });
        std::vector<float> in[2], out[2][2];
        long frame = 0;
        for (int segment = 0; segment < 12; ++segment) {
          // Between blocks: switches, knobs (tone-stack and bright-shelf
          // updates), programs, chunks, redesigns.
          const uint32_t bits = rng.next();
          for (int i = 0; i < 9; ++i) {
            const float on = (bits >> i) & 1u ? 1.0f : 0.0f;
            both([&](Vortan& v) { v.setParameter(kSwitches[i], on); });
          }
          for (int knob : kKnobs) {
            const float value = rng.unit();
            both([&](Vortan& v) { v.setParameter(knob, value); });
          }
          if (segment % 5 == 4) {
            const int program = static_cast<int>(rng.next() % 10u);
            both([&](Vortan& v) { v.setProgram(program); });
          }
          if (segment % 6 == 5) {
            both([&](Vortan& v) {
              EXPECT_EQ(v.setChunk(bank.data(), static_cast<int32_t>(bank.size()), false), 1);
            });
          }
          if (segment % 4 == 3) {
            // A quality switch goes through the redesign-pending flag.
            both([&](Vortan& v) {
              v.setParameter(kQuality, static_cast<float>((segment / 4) & 1));
            });
          }
          if (segment == 9) both([&](Vortan& v) { v.setSampleRate(rate); });
          both([&](Vortan& v) { v.setParameter(kMonoStereo, static_cast<float>(stereo)); });

          const int block = blockSizes[segment % 5];
          const int blocks = block >= 512 ? 1 : 512 / block;
          for (auto& b : in) b.resize(block);
          for (auto& o : out) {
            for (auto& b : o) b.resize(block);
          }
          // A -20 dBFS 440 Hz sine, with louder passages that drive the grids
          // into conduction and the plates into cutoff.
          const float level = segment % 3 == 2 ? 8.0f : 0.1f;
          for (int n = 0; n < blocks; ++n) {
            for (int i = 0; i < block; ++i, ++frame) {
              const double t = frame / static_cast<double>(rate);
              in[0][i] = level * static_cast<float>(std::sin(2.0 * M_PI * 440.0 * t));
              in[1][i] = level * static_cast<float>(std::sin(2.0 * M_PI * 330.0 * t));
            }
            for (int k = 0; k < 2; ++k) {
              float* inputs[2] = {in[0].data(), in[1].data()};
              float* outputs[2] = {out[k][0].data(), out[k][1].data()};
              p[k]->processReplacing(inputs, outputs, block);
            }
            for (int c = 0; c < 2; ++c) {
              ASSERT_EQ(std::memcmp(out[0][c].data(), out[1][c].data(), block * sizeof(float)), 0)
                  << "segment " << segment << ", block of " << block << ", output " << c;
            }
          }
        }
      }
    }
  }
}

}  // namespace
}  // namespace vortan
