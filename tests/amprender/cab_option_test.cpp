// amprender's cabinet after the plug-in: built-in names, IR files, the
// latency taken out, and a bad IR refused before anything is written.
#include <sndfile.h>

#include <cmath>

#include "gtest/gtest.h"
#include "tests/amprender/run_tool.h"

namespace amprender_test {
namespace {

std::vector<float> ReadFrames(const std::string& path, SF_INFO* info) {
  *info = SF_INFO{};
  SNDFILE* sf = sf_open(path.c_str(), SFM_READ, info);
  if (!sf) return {};
  std::vector<float> v(static_cast<size_t>(info->frames * info->channels));
  sf_readf_float(sf, v.data(), info->frames);
  sf_close(sf);
  return v;
}

void Write(const std::string& path, int channels, int rate, const std::vector<float>& interleaved) {
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = rate;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(sf, nullptr) << sf_strerror(nullptr);
  sf_writef_float(sf, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
  sf_close(sf);
}

ToolResult Tool(const ScratchDir& dir, std::vector<std::string> args) {
  return RunTool({std::move(args), dir.path(), "", -1});
}

TEST(AmprenderCab, AStereoIrFollowsThePluginWithBothLatenciesTakenOut) {
  ScratchDir dir;
  // Stereo IR: left a unit impulse, right one 10 frames late. Each has a band
  // power gain of 1, so the loudness rule leaves them as they are.
  std::vector<float> ir(2 * 64, 0.0f);
  ir[0] = 1.0f;
  ir[2 * 10 + 1] = 1.0f;
  Write(dir / "ir.wav", 2, 44100, ir);
  std::vector<float> in;
  for (int t = 0; t < 5000; ++t)
    for (int c = 0; c < 2; ++c)
      in.push_back(static_cast<float>(0.3 * std::sin(0.01 * t * (c + 1))));
  Write(dir / "in.wav", 2, 44100, in);
  ToolResult r = Tool(dir, {"--plugin", AMPRENDER_TEST_LATENCY_PLUGIN_PATH, "--in", "in.wav",
                            "--out", "out.wav", "--cab", "ir.wav", "--block", "100"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  SF_INFO info;
  const std::vector<float> out = ReadFrames(dir / "out.wav", &info);
  ASSERT_EQ(out.size(), in.size());
  for (size_t t = 0; t < 5000; ++t) {
    ASSERT_NEAR(out[2 * t], in[2 * t], 1e-6) << t;
    ASSERT_NEAR(out[2 * t + 1], t >= 10 ? in[2 * (t - 10) + 1] : 0.0f, 1e-6) << t;
  }
}

TEST(AmprenderCab, BuiltInCabinetsAreListedAndRenderTheSameWhateverTheBlock) {
  ScratchDir dir;
  ToolResult list = Tool(dir, {"--list-cabs"});
  ASSERT_EQ(list.exitCode, 0) << list.err;
  EXPECT_EQ(list.out.rfind("none\n", 0), 0u) << list.out;
  EXPECT_NE(list.out.find("\n4x12-closed\n"), std::string::npos) << list.out;
  ToolResult a = Tool(
      dir, {"--plugin", AMPRENDER_TEST_GAIN_PLUGIN_PATH, "--cab", "2x12-open", "--out", "a.wav"});
  ToolResult b = Tool(dir, {"--plugin", AMPRENDER_TEST_GAIN_PLUGIN_PATH, "--cab", "2x12-open",
                            "--out", "b.wav", "--block", "77"});
  ASSERT_EQ(a.exitCode, 0) << a.err;
  ASSERT_EQ(b.exitCode, 0) << b.err;
  EXPECT_EQ(ReadBytes(dir / "a.wav"), ReadBytes(dir / "b.wav"));
}

TEST(AmprenderCab, ABadIrIsRefusedByNameAndNothingIsWritten) {
  ScratchDir dir;
  Write(dir / "silent.wav", 1, 48000, std::vector<float>(100, 0.0f));
  Write(dir / "three.wav", 3, 48000, std::vector<float>(300, 0.1f));
  for (const char* cab : {"missing.wav", "silent.wav", "three.wav", "9x15-nothing"}) {
    ToolResult r =
        Tool(dir, {"--plugin", AMPRENDER_TEST_GAIN_PLUGIN_PATH, "--cab", cab, "--out", "out.wav"});
    EXPECT_EQ(r.exitCode, 1) << cab;
    EXPECT_NE(r.err.find(cab), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir / "out.wav")) << cab;
  }
}

}  // namespace
}  // namespace amprender_test
