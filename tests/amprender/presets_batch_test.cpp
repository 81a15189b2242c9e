// amprender with preset files, levels and batches, run as a user would.
#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <fstream>

#include "gtest/gtest.h"
#include "tests/amprender/run_tool.h"

namespace amprender_test {
namespace {

const std::string kGain = AMPRENDER_TEST_GAIN_PLUGIN_PATH;

ToolResult Tool(const ScratchDir& dir, std::vector<std::string> args) {
  return RunTool({std::move(args), dir.path(), "", -1});
}

void WriteSine(const std::string& path, double amplitude) {
  SF_INFO info{};
  info.channels = 1;
  info.samplerate = 44100;
  info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
  std::vector<float> x(22050);
  for (size_t t = 0; t < x.size(); ++t)
    x[t] = static_cast<float>(amplitude * std::sin(2.0 * M_PI * 220.0 * t / 44100.0));
  SNDFILE* sf = sf_open(path.c_str(), SFM_WRITE, &info);
  ASSERT_NE(sf, nullptr);
  sf_writef_float(sf, x.data(), static_cast<sf_count_t>(x.size()));
  sf_close(sf);
}

void WriteBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

TEST(AmprenderPresets, SavedPresetsLoadAndSaveAgainByteForByte) {
  ScratchDir dir;
  ToolResult r = Tool(dir, {"--plugin", kGain, "--set", "Gain=0.25", "--preset-name", "Quiet",
                            "--save-preset", "a.fxp", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Tool(dir,
           {"--plugin", kGain, "--preset", "a.fxp", "--save-preset", "b.fxp", "--out", "x.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir / "a.fxp"), ReadBytes(dir / "b.fxp"));
  EXPECT_NE(r.out.find("peak -12.0 dBFS"), std::string::npos) << r.out;  // the preset's -6 dB
  // A bank, and a program picked from it.
  r = Tool(dir,
           {"--plugin", kGain, "--preset", "a.fxp", "--save-preset", "bank.fxb", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  r = Tool(dir, {"--plugin", kGain, "--preset", "bank.fxb", "--program", "1", "--save-preset",
                 "bank2.fxb", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir / "bank.fxb").size(), ReadBytes(dir / "bank2.fxb").size());
  r = Tool(dir, {"--plugin", kGain, "--preset", "bank.fxb", "--program", "5", "--list-params"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("has no program 5"), std::string::npos) << r.err;
}

TEST(AmprenderPresets, ForeignTruncatedAndCorruptFilesAreRefusedAndNothingIsWritten) {
  ScratchDir dir;
  ASSERT_EQ(Tool(dir, {"--plugin", kGain, "--save-preset", "good.fxp", "--list-params"}).exitCode,
            0);
  const std::vector<unsigned char> good = ReadBytes(dir / "good.fxp");
  std::vector<unsigned char> foreign = good;
  foreign[19] ^= 0x01;  // the plug-in id
  WriteBytes(dir / "foreign.fxp", foreign);
  WriteBytes(dir / "short.fxp", std::vector<unsigned char>(good.begin(), good.end() - 3));
  std::vector<unsigned char> kind = good;
  kind[8] = 'Q';
  WriteBytes(dir / "kind.fxp", kind);
  WriteBytes(dir / "empty.fxp", {});
  const std::pair<const char*, const char*> cases[] = {
      {"foreign.fxp", "made for another plug-in"},
      {"short.fxp", "truncated"},
      {"kind.fxp", "unknown preset kind"},
      {"empty.fxp", "is empty"},
      {"missing.fxp", "cannot open"},
  };
  for (const auto& [file, words] : cases) {
    ToolResult r = Tool(dir, {"--plugin", kGain, "--preset", file, "--out", "out.wav"});
    EXPECT_EQ(r.exitCode, 1) << file;
    EXPECT_NE(r.err.find(words), std::string::npos) << file << ": " << r.err;
    EXPECT_NE(r.err.find(file), std::string::npos) << r.err;
    EXPECT_FALSE(Exists(dir / "out.wav"));
  }
#if defined(OSTRA_FERRO_B3_PLUGIN_PATH) && defined(VORTAN_V1_1_PLUGIN_PATH)
  // A factory file of one amplifier in the other; each amplifier's own loads
  // and saves again unchanged.
  const std::string presets = std::string(PRESETS_DIR);
  ToolResult r = Tool(dir, {"--plugin", OSTRA_FERRO_B3_PLUGIN_PATH, "--preset",
                            presets + "/vortan/factory-bank.fxb", "--out", "out.wav"});
  EXPECT_EQ(r.exitCode, 1);
  EXPECT_NE(r.err.find("'VRTQ'; this one is 'OsFe'"), std::string::npos) << r.err;
  r = Tool(dir, {"--plugin", OSTRA_FERRO_B3_PLUGIN_PATH, "--preset",
                 presets + "/ferro/04-rhythm.fxp", "--save-preset", "f.fxp", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir / "f.fxp"), ReadBytes(presets + "/ferro/04-rhythm.fxp"));
  r = Tool(dir, {"--plugin", VORTAN_V1_1_PLUGIN_PATH, "--preset",
                 presets + "/vortan/factory-bank.fxb", "--save-preset", "v.fxb", "--list-params"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir / "v.fxb"), ReadBytes(presets + "/vortan/factory-bank.fxb"));
#endif
}

TEST(AmprenderLevels, NormaliseTrimAndALineLevelInputAreReported) {
  ScratchDir dir;
  ToolResult r = Tool(dir, {"--plugin", kGain, "--normalize", "-3", "--out", "n.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.out.find("peak -3.0 dBFS"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("(input peak -6.0 dBFS"), std::string::npos) << r.out;
  r = Tool(dir, {"--plugin", kGain, "--gain", "-4.5", "--out", "g.wav"});
  EXPECT_NE(r.out.find("peak -10.5 dBFS"), std::string::npos) << r.out;
  EXPECT_EQ(r.err, "");
  WriteSine(dir / "mix.wav", 0.99);
  r = Tool(dir, {"--plugin", kGain, "--in", "mix.wav", "--set", "Gain=0.1", "--out", "m.wav"});
  ASSERT_EQ(r.exitCode, 0) << r.err;
  EXPECT_NE(r.err.find("looks like a line-level mix"), std::string::npos) << r.err;
  r = Tool(dir, {"--plugin", kGain, "--gain", "1", "--normalize", "-1", "--out", "x.wav"});
  EXPECT_EQ(r.exitCode, 2);
}

TEST(AmprenderBatch, OneBadFileFailsAloneAndTheExitCodeSaysSo) {
  ScratchDir dir;
  std::filesystem::create_directory(dir / "di");
  WriteSine(dir / "di/one.wav", 0.3);
  WriteSine(dir / "di/two.wav", 0.3);
  std::ofstream(dir / "di/broken.wav") << "not a sound file";
  std::ofstream(dir / "di/notes.txt") << "ignored: not a sound file name";
  ToolResult r = Tool(dir, {"--plugin", kGain, "--in", "di", "--out-dir", "out", "-j", "2"});
  EXPECT_EQ(r.exitCode, 1) << r.out << r.err;
  EXPECT_TRUE(Exists(dir / "out/one.wav"));
  EXPECT_TRUE(Exists(dir / "out/two.wav"));
  EXPECT_FALSE(Exists(dir / "out/broken.wav"));
  EXPECT_NE(r.err.find("broken.wav"), std::string::npos) << r.err;
  EXPECT_NE(r.out.find("broken.wav  FAILED"), std::string::npos) << r.out;
  EXPECT_NE(r.out.find("2 of 3 files rendered"), std::string::npos) << r.out;
  // Without the bad file, the same batch succeeds; outputs keep their names.
  r = Tool(dir, {"--plugin", kGain, "--in", "di/one.wav", "--in", "di/two.wav", "--out-dir", "o2"});
  EXPECT_EQ(r.exitCode, 0) << r.err;
  EXPECT_EQ(ReadBytes(dir / "o2/one.wav"), ReadBytes(dir / "out/one.wav"));
  // Two inputs that would write the same output are a mistake.
  r = Tool(dir, {"--plugin", kGain, "--in", "di/one.wav", "--in", "di/one.wav", "--out-dir", "o3"});
  EXPECT_EQ(r.exitCode, 2);
}

}  // namespace
}  // namespace amprender_test
