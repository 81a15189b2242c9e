// The command line of amprig. Options that amprender also has mean the same.
#pragma once

#include <string>
#include <vector>

namespace amprig {

constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;

struct Options {
  std::string plugin = "ferro";  // "ferro", "vortan" or a path to a module
  std::string preset;            // .fxp/.fxb to start from instead of the saved state
  int program = -1;              // with a bank preset (or alone): the program to play
  std::string cab;               // built-in name, IR file or "none"; empty: saved or default
  bool gainGiven = false;
  double gainDb = 0.0;           // input gain before the amplifier
  bool outLevelGiven = false;
  double outLevelDb = 0.0;       // level after the cabinet
  std::string name = "amprig";   // JACK client name
  bool connect = false;          // to the first physical ports
  std::string inPort;            // --in-port: connect `in` from this port
  std::vector<std::string> outPorts;  // --out-port (up to two): connect the outputs to these
  bool noGui = false;
  bool showHelp = false;
};

struct ParseResult {
  bool ok = false;
  Options options;
  std::string error;
};

ParseResult ParseOptions(const std::vector<std::string>& args);
const char* UsageText();

}  // namespace amprig
