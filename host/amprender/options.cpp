#include "host/amprender/options.h"

#include <cerrno>
#include <cstdlib>

namespace amprender {
namespace {

bool ParseInt(const std::string& text, long lo, long hi, int* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  long v = std::strtol(text.c_str(), &end, 10);
  if (errno != 0 || *end != '\0' || v < lo || v > hi) return false;
  *out = static_cast<int>(v);
  return true;
}

bool ParseDouble(const std::string& text, double lo, double hi, double* out) {
  if (text.empty()) return false;
  errno = 0;
  char* end = nullptr;
  double v = std::strtod(text.c_str(), &end);
  if (errno != 0 || *end != '\0' || !(v >= lo && v <= hi)) return false;
  *out = v;
  return true;
}

}  // namespace

const char* UsageText() {
  return "usage: amprender [--plugin ferro|vortan|PATH.so] [--in IN.wav|DIR|-]... [--out OUT.wav]\n"
         "                 [--out-dir DIR] [-j N] [--set NAME=VALUE]... [--program N]\n"
         "                 [--preset FILE.fxp|FILE.fxb] [--save-preset FILE.fxp|FILE.fxb]\n"
         "                 [--preset-name NAME] [--load-chunk FILE] [--save-chunk FILE]\n"
         "                 [--gain DB | --normalize DBFS] [--block N] [--rate HZ]\n"
         "                 [--format float|24] [--cab NAME|FILE|none] [--list-cabs]\n"
         "                 [--list-params]\n"
         "\n"
         "  --plugin      the amplifier: ferro (default), vortan, or a VST 2.4 module file\n"
         "  --in          the DI recording to re-amp (WAV, FLAC, AIFF ...; mono or stereo);\n"
         "                '-' reads it from standard input; without --in a built-in DI riff.\n"
         "                Repeat it, or name a folder, to render a batch (needs --out-dir)\n"
         "  --out         the rendered file, written at the input's rate (default\n"
         "                amprender-out.wav)\n"
         "  --out-dir     the folder for a batch: each output is named after its input\n"
         "  -j, --jobs    files rendered at once in a batch (default 1)\n"
         "  --preset      load a VST preset file made for this plug-in; with a bank,\n"
         "                --program N picks its program (default: the bank's current one)\n"
         "  --save-preset save the state after all settings: .fxp the current program,\n"
         "                .fxb the whole bank\n"
         "  --preset-name name the current program (before --save-preset)\n"
         "  --gain        trim in dB after the amplifier and cabinet (default 0)\n"
         "  --normalize   scale the whole render so that it peaks at DBFS (two passes)\n"
         "  --set         a parameter by its name (see --list-params) and a value: a plain\n"
         "                number 0..1 is the normalised value, a number with the\n"
         "                parameter's unit or a display text (e.g. on) goes by the display\n"
         "  --program     select program N before the preset, chunk and settings are applied\n"
         "  --load-chunk  restore a program chunk saved by --save-chunk\n"
         "  --save-chunk  save the plug-in's program chunk after all settings\n"
         "  --block       frames per process call (default 512)\n"
         "  --rate        sample rate of the built-in riff in Hz (default 44100)\n"
         "  --format      sample format of the output WAV: float (default) or 24 (bit PCM)\n"
         "  --cab         a speaker cabinet after the amplifier: a built-in one by name\n"
         "                (see --list-cabs), an impulse response file (WAV, FLAC, AIFF;\n"
         "                mono or stereo; any rate), or none (the default)\n"
         "  --list-cabs   print the built-in cabinets, one name a line, and stop\n"
         "  --list-params print index, name, display and unit of every parameter and stop\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
  ParseResult r;
  Options& o = r.options;
  auto fail = [&r](std::string message) {
    r.ok = false;
    r.error = std::move(message);
    return r;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    std::string arg = args[i];
    std::string value;
    bool inlineValue = false;
    // Accept both "--opt value" and "--opt=value".
    size_t eq = arg.find('=');
    if (arg.rfind("--", 0) == 0 && eq != std::string::npos) {
      value = arg.substr(eq + 1);
      arg = arg.substr(0, eq);
      inlineValue = true;
    }
    auto takesValue = [&]() -> bool {
      if (inlineValue) return true;
      if (i + 1 >= args.size()) return false;
      value = args[++i];
      return true;
    };
    if (arg == "--help" || arg == "-h") {
      o.showHelp = true;
      continue;
    }
    if (arg == "--list-cabs") {
      o.listCabs = true;
      continue;
    }
    if (arg == "--list-params") {
      o.listParams = true;
      continue;
    }
    if (arg == "-j") arg = "--jobs";
    static const char* const kWithValue[] = {
        "--plugin", "--in",          "--out",         "--set",        "--program",   "--block",
        "--rate",   "--format",      "--load-chunk",  "--save-chunk", "--out-dir",   "--jobs",
        "--preset", "--save-preset", "--preset-name", "--gain",       "--normalize", "--cab"};
    bool known = false;
    for (const char* name : kWithValue) known = known || arg == name;
    if (!known) return fail("unknown option " + args[i]);
    if (!takesValue()) return fail(arg + " needs a value");

    if (arg == "--plugin") {
      if (value.empty()) return fail("--plugin needs ferro, vortan or a module path");
      o.plugin = value;
    } else if (arg == "--in") {
      if (value.empty()) return fail("--in needs a file name (or - for standard input)");
      o.inputs.push_back(value);
    } else if (arg == "--out") {
      if (value.empty() || value == "-") return fail("--out needs a file name");
      o.outPath = value;
      o.outGiven = true;
    } else if (arg == "--out-dir") {
      if (value.empty()) return fail("--out-dir needs a folder");
      o.outDir = value;
    } else if (arg == "--jobs") {
      if (!ParseInt(value, 1, 256, &o.jobs))
        return fail("-j needs 1 to 256 jobs, got '" + value + "'");
    } else if (arg == "--preset") {
      if (value.empty()) return fail("--preset needs a .fxp or .fxb file");
      o.preset = value;
    } else if (arg == "--save-preset") {
      const bool fxp = value.size() > 4 && value.compare(value.size() - 4, 4, ".fxp") == 0;
      const bool fxb = value.size() > 4 && value.compare(value.size() - 4, 4, ".fxb") == 0;
      if (!fxp && !fxb) return fail("--save-preset needs a file name ending in .fxp or .fxb");
      o.savePreset = value;
    } else if (arg == "--preset-name") {
      o.presetName = value;
      o.presetNameGiven = true;
    } else if (arg == "--gain") {
      if (!ParseDouble(value, -120.0, 60.0, &o.gainDb))
        return fail("--gain needs -120 to 60 dB, got '" + value + "'");
    } else if (arg == "--normalize") {
      if (!ParseDouble(value, -60.0, 0.0, &o.normalizeDbfs))
        return fail("--normalize needs a peak of -60 to 0 dBFS, got '" + value + "'");
      o.normalize = true;
    } else if (arg == "--set") {
      size_t split = value.find('=');
      if (split == std::string::npos || split == 0)
        return fail("--set needs NAME=VALUE, got '" + value + "'");
      o.settings.push_back({value.substr(0, split), value.substr(split + 1)});
    } else if (arg == "--program") {
      if (!ParseInt(value, 0, 1000000, &o.program))
        return fail("--program needs a program number 0 or more, got '" + value + "'");
    } else if (arg == "--block") {
      if (!ParseInt(value, 1, 65536, &o.blockSize))
        return fail("--block needs 1 to 65536 frames, got '" + value + "'");
    } else if (arg == "--rate") {
      if (!ParseInt(value, 1000, 768000, &o.rate))
        return fail("--rate needs 1000 to 768000 Hz, got '" + value + "'");
      o.rateGiven = true;
    } else if (arg == "--format") {
      if (value == "float" || value == "32")
        o.format = SampleFormat::kFloat32;
      else if (value == "24")
        o.format = SampleFormat::kPcm24;
      else
        return fail("--format needs float or 24, got '" + value + "'");
    } else if (arg == "--load-chunk") {
      if (value.empty()) return fail("--load-chunk needs a file name");
      o.loadChunk = value;
    } else if (arg == "--cab") {
      if (value.empty()) return fail("--cab needs a cabinet name, an IR file or none");
      o.cab = value;
    } else if (arg == "--save-chunk") {
      if (value.empty()) return fail("--save-chunk needs a file name");
      o.saveChunk = value;
    }
  }
  if (o.normalize && o.gainDb != 0.0) return fail("give --gain or --normalize, not both");
  if (o.inputs.size() > 1 && o.outGiven) return fail("several inputs need --out-dir, not --out");
  for (const std::string& in : o.inputs)
    if (in == "-" && o.inputs.size() > 1)
      return fail("standard input (--in -) cannot be part of a batch");
  if (!o.outDir.empty() && o.outGiven) return fail("give --out or --out-dir, not both");
  r.ok = true;
  return r;
}

}  // namespace amprender
