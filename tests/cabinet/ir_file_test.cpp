// IR files as a user hands them over: each container, rate and channel
// count is read and brought to the session; each kind of bad file is refused
// with its name in the message.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>

#include "host/cabinet/cabinet.h"

namespace {

std::string TempPath(const std::string& name) {
  return ::testing::TempDir() + "cab_" + std::to_string(getpid()) + "_" + name;
}

// A decaying noise burst: a plausible room-less speaker IR.
std::vector<float> DecayingNoise(size_t frames, int rate, unsigned seed) {
  std::mt19937 rng(seed);
  std::normal_distribution<float> noise(0.0f, 1.0f);
  std::vector<float> v(frames);
  for (size_t n = 0; n < frames; ++n) v[n] = 0.3f * noise(rng) * std::exp(-400.0f * n / rate);
  return v;
}

// Writes interleaved samples; returns the path.
std::string WriteSound(const std::string& name, int format, int rate, int channels,
                       const std::vector<float>& interleaved) {
  const std::string path = TempPath(name);
  SF_INFO info{};
  info.samplerate = rate;
  info.channels = channels;
  info.format = format;
  SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
  EXPECT_NE(sf, nullptr) << sf_strerror(nullptr);
  if (!sf) return path;
  sf_writef_float(sf, interleaved.data(), static_cast<sf_count_t>(interleaved.size()) / channels);
  sf_close(sf);
  return path;
}

TEST(CabinetIrFile, EachContainerRateAndChannelCountIsBroughtToTheSessionAtTheCommonLoudness) {
  struct Case {
    const char* name;
    int format;
    int rate;
    int channels;
  } cases[] = {
      {"a.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 48000, 1},
      {"b.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24, 44100, 2},
      {"c.flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 96000, 1},
      {"d.aiff", SF_FORMAT_AIFF | SF_FORMAT_PCM_24, 22050, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const size_t frames = static_cast<size_t>(c.rate) / 20;  // 50 ms
    std::vector<float> data;
    const std::vector<float> left = DecayingNoise(frames, c.rate, 1),
                             right = DecayingNoise(frames, c.rate, 2);
    for (size_t n = 0; n < frames; ++n) {
      data.push_back(left[n]);
      if (c.channels == 2) data.push_back(right[n]);
    }
    const std::string path = WriteSound(c.name, c.format, c.rate, c.channels, data);
    std::string error;
    auto cab = cabinet::Cabinet::Load(path, &error);
    ASSERT_TRUE(cab) << error;
    EXPECT_EQ(cab->irChannels(), c.channels);
    for (int outputs : {1, 2}) {
      cabinet::CabinetConfig config;
      config.sampleRate = 48000;
      config.outputs = outputs;
      ASSERT_TRUE(cab->Prepare(config, &error)) << error;
      const cabinet::ImpulseResponse& ir = cab->prepared();
      EXPECT_EQ(ir.sampleRate, 48000);
      EXPECT_EQ(static_cast<int>(ir.channels.size()), std::min(outputs, c.channels));
      EXPECT_NEAR(static_cast<double>(ir.frames()), 48000.0 / 20, 48000.0 / c.rate * 70);
      EXPECT_NEAR(10 * std::log10(cabinet::BandPowerGain(ir)), 0.0, 0.01);
    }
    std::remove(path.c_str());
  }
}

TEST(CabinetIrFile, EveryBuiltInCabinetLoadsAndNoneIsABypass) {
  const std::vector<std::string> names = cabinet::BuiltinNames();
  for (const char* required : {"none", "4x12-closed", "2x12-open", "1x12-combo", "4x10-closed"})
    EXPECT_TRUE(cabinet::IsBuiltin(required)) << required;
  for (const std::string& name : names) {
    SCOPED_TRACE(name);
    std::string error;
    auto cab = cabinet::Cabinet::Load(name, &error);
    ASSERT_TRUE(cab) << error;
    cabinet::CabinetConfig config;
    config.sampleRate = 44100;
    ASSERT_TRUE(cab->Prepare(config, &error)) << error;
    EXPECT_EQ(cab->bypass(), name == "none");
    if (name != "none") {
      EXPECT_EQ(cab->latency(), 1024);
      EXPECT_NEAR(10 * std::log10(cabinet::BandPowerGain(cab->prepared())), 0.0, 0.01);
    }
  }
  std::string error;
  EXPECT_FALSE(cabinet::Cabinet::Load("8x12-imaginary", &error));
  EXPECT_NE(error.find("8x12-imaginary"), std::string::npos) << error;
  EXPECT_NE(error.find("4x12-closed"), std::string::npos) << error;
}

TEST(CabinetIrFile, ABadFileIsRefusedWithItsNameAndTheReason) {
  const int wavFloat = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  std::vector<float> nan = DecayingNoise(100, 48000, 3);
  nan[50] = std::nanf("");
  std::vector<float> inf = DecayingNoise(100, 48000, 4);
  inf[10] = INFINITY;
  const std::string garbage = TempPath("garbage.wav");
  std::ofstream(garbage) << "this is not a sound file, only text with a .wav name";
  const std::string folder = TempPath("folder.wav");
  mkdir(folder.c_str(), 0700);
  struct Case {
    std::string path;
    const char* reason;
  } cases[] = {
      {TempPath("missing.wav"), "no such file"},
      {garbage, "cannot be read"},
      {folder, "folder"},
      {WriteSound("empty.wav", wavFloat, 48000, 1, {}), "empty"},
      {WriteSound("silent.wav", wavFloat, 48000, 1, std::vector<float>(480, 0.0f)), "silent"},
      {WriteSound("nan.wav", wavFloat, 48000, 1, nan), "not a finite number"},
      {WriteSound("inf.wav", wavFloat, 48000, 1, inf), "not a finite number"},
      {WriteSound("three.wav", wavFloat, 48000, 3, DecayingNoise(300, 48000, 5)), "3 channels"},
      {WriteSound("long.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 8000, 1,
                  DecayingNoise(8000 * 10 + 80, 8000, 6)),
       "longer than 10 s"},
      // A 15 kHz tone has nothing in the band the loudness rule uses.
      {WriteSound("treble.wav", wavFloat, 48000, 1,
                  [] {
                    std::vector<float> v(4800);
                    for (size_t n = 0; n < v.size(); ++n)
                      v[n] = 0.5f * std::sin(2 * M_PI * 15000.0 * n / 48000.0) *
                             (0.5f - 0.5f * std::cos(2 * M_PI * n / v.size()));
                    return v;
                  }()),
       "nothing between 200 Hz and 5 kHz"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.path);
    std::string error;
    EXPECT_FALSE(cabinet::Cabinet::Load(c.path, &error));
    EXPECT_NE(error.find(c.path), std::string::npos) << error;
    EXPECT_NE(error.find(c.reason), std::string::npos) << error;
    std::remove(c.path.c_str());
  }
  rmdir(folder.c_str());
}

}  // namespace
