// amprender end to end: the executable run as a user would, against the test
// gain plug-in (and the two amplifiers when they are part of the build).
#include <sndfile.h>

#include <cmath>
#include <cstring>
#include <fstream>

#include "gtest/gtest.h"
#include "tests/amprender/run_tool.h"

namespace amprender_test {
namespace {

const std::string kGain = AMPRENDER_TEST_GAIN_PLUGIN_PATH;

struct Wav {
  SF_INFO info{};
  std::vector<float> samples;  // interleaved
};

bool ReadWav(const std::string& path, Wav* wav) {
  std::memset(&wav->info, 0, sizeof wav->info);
  SNDFILE* sf = sf_open(path.c_str(), SFM_READ, &wav->info);
  if (!sf) return false;
  wav->samples.resize(static_cast<size_t>(wav->info.frames * wav->info.channels));
  sf_readf_float(sf, wav->samples.data(), wav->info.frames);
  sf_close(sf);
  return true;
}

void WriteWav(const std::string& path, int format, int channels, int rate,
              const std::vector<float>& interleaved) {
  SF_INFO info{};
  info.channels = channels;
  info.samplerate = rate;
  info.format = format;
  SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(sf, nullptr) << sf_strerror(nullptr);
  sf_writef_float(sf, interleaved.data(), static_cast<sf_count_t>(interleaved.size() / channels));
  sf_close(sf);
}

// A test signal: two different tones, left and right.
std::vector<float> TwoTones(int channels, int rate, double seconds) {
  std::vector<float> x;
  const int frames = static_cast<int>(seconds * rate);
  for (int t = 0; t < frames; ++t)
    for (int c = 0; c < channels; ++c)
      x.push_back(static_cast<float>(0.4 * std::sin(2.0 * M_PI * (220.0 + 110.0 * c) * t / rate)));
  return x;
}

std::vector<float> ChunkValues(const std::vector<unsigned char>& chunk) {
  std::vector<float> v((chunk.size() - 4) / 4);
  std::memcpy(v.data(), chunk.data() + 4, v.size() * 4);
  return v;
}

ToolResult Tool(const ScratchDir& dir, std::vector<std::string> args) {
  return RunTool({std::move(args), dir.path(), "", -1});
}

TEST(Amprender, BuiltInRiffRendersTheSameBytesTwice) {
  ScratchDir dir;
  ToolResult a = Tool(dir, {"--plugin", kGain, "--out", "a.wav"});
  ToolResult b = Tool(dir, {"--plugin", kGain, "--out", "b.wav", "--block", "333"});
  ASSERT_EQ(a.exitCode, 0) << a.err;
  ASSERT_EQ(b.exitCode, 0) << b.err;
  const std::vector<unsigned char> bytes = ReadBytes(dir / "a.wav");
  EXPECT_EQ(bytes, ReadBytes(dir / "b.wav"));
  // No chunk that carries the time of writing.
  EXPECT_EQ(std::search(bytes.begin(), bytes.end(), "PEAK", "PEAK" + 4), bytes.end());
  // One summary line on standard output; no progress bar when it is not a terminal.
  EXPECT_NE(a.out.find(" s rendered in "), std::string::npos) << a.out;
  EXPECT_NE(a.out.find("real time), peak -6.0 dBFS, RMS -"), std::string::npos) << a.out;
  EXPECT_EQ(a.err, "");
  Wav wav;
  ASSERT_TRUE(ReadWav(dir / "a.wav", &wav));
  EXPECT_EQ(wav.info.channels, 1);
  EXPECT_EQ(wav.info.samplerate, 44100);
  EXPECT_EQ(wav.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  EXPECT_EQ(dir.Files(), (std::vector<std::string>{"a.wav", "b.wav"}));
}

TEST(Amprender, SettingsByNameNumberUnitAndTextReachThePlugin) {
  ScratchDir dir;
  ToolResult r = Tool(dir, {"--plugin", kGain, "--set", "Gain=-6 dB", "--set", "mode=lead", "--set",
                            "Bypass=on", "--save-chunk", "state.bin", "--out", "x.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  std::vector<float> v = ChunkValues(ReadBytes(dir / "state.bin"));
  ASSERT_EQ(v.size(), 3u);
  EXPECT_NEAR(v[0], 0.2506f, 2e-4f);
  EXPECT_EQ(v[1], 1.0f);
  EXPECT_EQ(v[2], 1.0f);

  // The plain number is the normalised value; the audio follows: -6 dB.
  r = Tool(dir, {"--plugin", kGain, "--set", "Gain=0.25", "--save-chunk", "half.bin", "--out",
                 "half.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ChunkValues(ReadBytes(dir / "half.bin"))[0], 0.25f);
  EXPECT_NE(r.out.find("peak -12.0 dBFS"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, "");
  // Full gain lifts the -6 dBFS riff just past full scale, which is pointed out.
  r = Tool(dir, {"--plugin", kGain, "--set", "Gain=1", "--out", "hot.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("peaks at +0.0 dBFS, above full scale"), std::string::npos) << r.err;

  // The saved chunk restores the state in a later run.
  r = Tool(dir, {"--plugin", kGain, "--load-chunk", "half.bin", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("  0  Gain    -6.0 dB\n"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("  2  Bypass  off\n"), std::string::npos) << r.out;
}

TEST(Amprender, ProgramIsSelectedBeforeTheSettings) {
  ScratchDir dir;
  ToolResult r = Tool(dir, {"--plugin", kGain, "--program", "1", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("Gain    -6.0 dB"), std::string::npos) << r.out;
  r = Tool(dir, {"--plugin", kGain, "--program", "1", "--set", "Gain=0.5", "--list-params"});
  EXPECT_NE(r.out.find("Gain    0.0 dB"), std::string::npos) << r.out;
}

// Each mistake: its exit code, the words of its message, and no file left.
TEST(Amprender, EveryErrorIsAMessageAndLeavesNoOutput) {
  ScratchDir dir;
  {
    std::ofstream(dir / "notaudio.wav") << "this is not a sound file";
    std::ofstream(dir / "garbage.so") << "not a module";
    std::ofstream(dir / "short.bin") << "TGPC1";
    WriteWav(dir / "six.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 6, 44100, TwoTones(6, 44100, 0.1));
    WriteWav(dir / "in48.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 48000, TwoTones(1, 48000, 0.1));
  }
  const std::vector<std::string> inputs = dir.Files();
  const std::string null = AMPRENDER_TEST_NULL_PLUGIN_PATH;
  struct Case {
    std::vector<std::string> args;
    int exitCode;
    std::vector<std::string> words;
  } cases[] = {
      {{"--in", "missing.wav"}, 1, {"cannot read missing.wav", "No such file"}},
      {{"--in", "notaudio.wav"}, 1, {"cannot read notaudio.wav"}},
      {{"--in", "six.wav"}, 1, {"6 channels", "mono or stereo"}},
      {{"--in", "in48.wav", "--rate", "44100"}, 2, {"does not match the 48000 Hz"}},
      {{"--plugin", "nowhere.so"}, 1, {"plug-in nowhere.so not found"}},
      {{"--plugin", dir / "garbage.so"}, 1, {"cannot load the plug-in"}},
      {{"--plugin", null}, 1, {"returned no effect"}},
      {{"--load-chunk", "short.bin"}, 1, {"refused the 5-byte chunk", "answered 0", "16 bytes"}},
      {{"--load-chunk", "none.bin"}, 1, {"cannot read none.bin"}},
      {{"--set", "Gian=0.5"}, 2, {"unknown parameter \"Gian\"", "close matches: \"Gain\""}},
      {{"--set", "Bypass=maybe"}, 2, {"\"Bypass\"", "\"off\", \"on\""}},
      {{"--set", "Gain=3"}, 2, {"outside the normalised range", "Gain=3 dB"}},
      {{"--set", "Gain=40 dB"}, 2, {"no setting", "-inf dB to 6.0 dB"}},
      {{"--set", "Gain"}, 2, {"NAME=VALUE"}},
      {{"--program", "5"}, 2, {"programs 0 to 1"}},
      {{"--block", "0"}, 2, {"--block"}},
      {{"--louder"}, 2, {"unknown option --louder", "usage:"}},
      {{"--out", "no/such/folder/out.wav"}, 1, {"cannot write no/such/folder/out.wav"}},
      {{"--out", "."}, 1, {"cannot write ."}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> args = {"--plugin", kGain,          "--out",
                                     "out.wav",  "--save-chunk", "out.bin"};
    args.insert(args.end(), c.args.begin(), c.args.end());
    ToolResult r = Tool(dir, args);
    std::string shown;
    for (const std::string& a : c.args) shown += a + " ";
    EXPECT_EQ(r.exitCode, c.exitCode) << shown << "\n" << r.err;
    EXPECT_EQ(r.err.rfind("amprender: error: ", 0), 0u) << shown << "\n" << r.err;
    for (const std::string& w : c.words)
      EXPECT_NE(r.err.find(w), std::string::npos) << shown << "\nmissing: " << w << "\n" << r.err;
    EXPECT_EQ(dir.Files(), inputs) << shown;
  }
}

TEST(Amprender, AWriteFailureLeavesNoPartialFile) {
  ScratchDir dir;
  ToolRun run{{"--plugin", kGain, "--out", "out.wav"}, dir.path(), "", 100000};
  ToolResult r = RunTool(run);
  EXPECT_EQ(r.exitCode, 1) << r.err;
  EXPECT_NE(r.err.find("cannot write out.wav"), std::string::npos) << r.err;
  EXPECT_TRUE(dir.Files().empty());
}

TEST(Amprender, StereoFloatAt96kKeepsRateChannelsAndSides) {
  ScratchDir dir;
  const std::vector<float> in = TwoTones(2, 96000, 1.3);
  WriteWav(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 96000, in);
  ToolResult r = Tool(dir, {"--plugin", kGain, "--in", "in.wav", "--out", "out.wav", "--set",
                            "Gain=0.25", "--block", "1000"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("1.30 s rendered"), std::string::npos) << r.out;
  Wav out;
  ASSERT_TRUE(ReadWav(dir / "out.wav", &out));
  EXPECT_EQ(out.info.samplerate, 96000);
  EXPECT_EQ(out.info.channels, 2);
  EXPECT_EQ(out.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT);
  ASSERT_EQ(out.samples.size(), in.size());
  for (size_t i = 0; i < in.size(); ++i) ASSERT_EQ(out.samples[i], 0.5f * in[i]) << i;
}

TEST(Amprender, SixteenBitMonoFromStandardInputTo24Bit) {
  ScratchDir dir;
  const std::vector<float> in = TwoTones(1, 22050, 0.5);
  WriteWav(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16, 1, 22050, in);
  ToolRun run{{"--plugin", kGain, "--in", "-", "--out", "out.wav", "--format", "24"},
              dir.path(),
              dir / "in.wav",
              -1};
  ToolResult r = RunTool(run);
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Wav out, original;
  ASSERT_TRUE(ReadWav(dir / "out.wav", &out));
  ASSERT_TRUE(ReadWav(dir / "in.wav", &original));
  EXPECT_EQ(out.info.format, SF_FORMAT_WAV | SF_FORMAT_PCM_24);
  EXPECT_EQ(out.info.samplerate, 22050);
  EXPECT_EQ(out.info.channels, 1);
  EXPECT_EQ(out.samples, original.samples);  // unity gain: every 16-bit value kept
}

TEST(Amprender, PluginLatencyIsTakenOut) {
  ScratchDir dir;
  const std::vector<float> in = TwoTones(2, 44100, 0.2);
  WriteWav(dir / "in.wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100, in);
  ToolResult r = Tool(dir, {"--plugin", AMPRENDER_TEST_LATENCY_PLUGIN_PATH, "--in", "in.wav",
                            "--out", "out.wav", "--block", "16"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  Wav out;
  ASSERT_TRUE(ReadWav(dir / "out.wav", &out));
  EXPECT_EQ(out.samples, in);
}

// The amplifiers themselves, through the same command line.
void ExpectRepeatableRender(const std::string& plugin, const std::vector<std::string>& extra) {
  ScratchDir dir;
  std::vector<std::string> a = {"--plugin", plugin, "--out", "a.wav"};
  std::vector<std::string> b = {"--plugin", plugin, "--out", "b.wav"};
  a.insert(a.end(), extra.begin(), extra.end());
  b.insert(b.end(), extra.begin(), extra.end());
  ToolResult ra = Tool(dir, a), rb = Tool(dir, b);
  ASSERT_EQ(ra.exitCode, 0) << ra.err;
  ASSERT_EQ(rb.exitCode, 0) << rb.err;
  EXPECT_EQ(ReadBytes(dir / "a.wav"), ReadBytes(dir / "b.wav"));
}

double ChunkDouble(const std::vector<unsigned char>& chunk, size_t offset) {
  double v = 0.0;
  if (offset + 8 <= chunk.size()) std::memcpy(&v, chunk.data() + offset, 8);
  return v;
}

#ifdef OSTRA_FERRO_B3_PLUGIN_PATH
TEST(AmprenderFerro, RendersRepeatablyAndTakesSettingsByDisplay) {
  ExpectRepeatableRender("ferro", {});
  ScratchDir dir;
  ToolResult r = Tool(dir, {"--plugin", "ferro", "--set", "Stereo=on", "--set", "Bias=-45 Volt",
                            "--set", "RED:Treble=0.7", "--save-chunk", "f.bin", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<unsigned char> chunk = ReadBytes(dir / "f.bin");
  ASSERT_EQ(chunk.size(), 272u);  // header and 33 plain values
  EXPECT_EQ(ChunkDouble(chunk, 8 + 8 * 5), 1.0);
  EXPECT_NEAR(ChunkDouble(chunk, 8 + 8 * 23), -45.0, 1e-4);
  EXPECT_NEAR(ChunkDouble(chunk, 8 + 8 * 11), 0.7, 1e-6);
  EXPECT_NE(r.out.find("Stereo          on"), std::string::npos) << r.out;
}
#endif

#ifdef VORTAN_V1_1_PLUGIN_PATH
TEST(AmprenderVortan, RendersRepeatablyAndTakesSettingsByName) {
  ExpectRepeatableRender("vortan", {"--program", "0"});
  ScratchDir dir;
  ToolResult r = Tool(dir, {"--plugin", "vortan", "--program", "3", "--set", "Channel=1", "--set",
                            "CHB Drive=0.8", "--save-chunk", "v.bin", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  const std::vector<unsigned char> chunk = ReadBytes(dir / "v.bin");
  ASSERT_EQ(chunk.size(), 292u);  // one program record
  float channel = 0.0f, drive = 0.0f;
  std::memcpy(&channel, chunk.data() + 24 + 4 * 18, 4);
  std::memcpy(&drive, chunk.data() + 24 + 4 * 2, 4);
  EXPECT_EQ(channel, 1.0f);
  EXPECT_EQ(drive, 0.8f);
}
#endif

}  // namespace
}  // namespace amprender_test
