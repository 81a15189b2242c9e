// The command line of amprender, parsed into one record.
#pragma once

#include <string>
#include <vector>

namespace amprender {

// Exit codes: 0 success, 1 a run-time failure (files, plug-in, chunk, write),
// 2 a command-line mistake (unknown option, bad number, unknown parameter
// name or value), 130 interrupted.
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitInterrupted = 130;

enum class SampleFormat { kFloat32, kPcm24 };

struct ParamSetting {
  std::string name;
  std::string value;
};

struct Options {
  std::string plugin = "ferro";  // "ferro", "vortan" or a path to a module
  // Files or folders (every sound file inside); none: the built-in DI riff;
  // "-": standard input.
  std::vector<std::string> inputs;
  std::string outPath = "amprender-out.wav";
  bool outGiven = false;
  std::string outDir;                  // a batch writes DIR/<input name>.wav
  int jobs = 1;                        // files rendered at once, each by its own plug-in instance
  std::vector<ParamSetting> settings;  // in command-line order
  int program = -1;                    // -1: leave the plug-in's current program
  std::string loadChunk;
  std::string saveChunk;
  std::string preset;      // a .fxp or .fxb file loaded after --program
  std::string savePreset;  // .fxp: the current program, .fxb: the bank
  std::string presetName;  // names the current program before saving
  bool presetNameGiven = false;
  double gainDb = 0.0;     // trim after the amplifier and cabinet
  bool normalize = false;  // scale the whole render so its peak is normalizeDbfs
  double normalizeDbfs = -1.0;
  int blockSize = 512;
  int rate = 0;  // 0: the input's rate (the riff: 44100 Hz)
  bool rateGiven = false;
  std::string cab;  // --cab: a built-in cabinet's name, an IR file, or none; empty: none
  bool listCabs = false;
  bool listParams = false;
  bool showHelp = false;
  SampleFormat format = SampleFormat::kFloat32;
};

struct ParseResult {
  bool ok = false;
  Options options;
  std::string error;  // what was wrong, when !ok
};

ParseResult ParseOptions(const std::vector<std::string>& args);

// The usage text printed by --help and after a command-line mistake.
const char* UsageText();

}  // namespace amprender
