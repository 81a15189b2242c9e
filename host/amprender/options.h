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
  std::string inPath;            // empty: the built-in DI riff; "-": standard input
  std::string outPath = "amprender-out.wav";
  std::vector<ParamSetting> settings;  // in command-line order
  int program = -1;                    // -1: leave the plug-in's current program
  std::string loadChunk;
  std::string saveChunk;
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
