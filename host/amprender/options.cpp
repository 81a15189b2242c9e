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

}  // namespace

const char* UsageText() {
  return "usage: amprender [--plugin ferro|vortan|PATH.so] [--in IN.wav|-] [--out OUT.wav]\n"
         "                 [--set NAME=VALUE]... [--program N] [--load-chunk FILE]\n"
         "                 [--save-chunk FILE] [--block N] [--rate HZ] [--format float|24]\n"
         "                 [--cab NAME|FILE|none] [--list-cabs] [--list-params]\n"
         "\n"
         "  --plugin      the amplifier: ferro (default), vortan, or a VST 2.4 module file\n"
         "  --in          the DI recording to re-amp (WAV, FLAC, AIFF ...; mono or stereo);\n"
         "                '-' reads it from standard input; without --in a built-in DI riff\n"
         "  --out         the rendered file, written at the input's rate (default\n"
         "                amprender-out.wav)\n"
         "  --set         a parameter by its name (see --list-params) and a value: a plain\n"
         "                number 0..1 is the normalised value, a number with the\n"
         "                parameter's unit or a display text (e.g. on) goes by the display\n"
         "  --program     select program N before the settings are applied\n"
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
    static const char* const kWithValue[] = {"--plugin",     "--in",         "--out",  "--set",
                                             "--program",    "--block",      "--rate", "--format",
                                             "--load-chunk", "--save-chunk", "--cab"};
    bool known = false;
    for (const char* name : kWithValue) known = known || arg == name;
    if (!known) return fail("unknown option " + args[i]);
    if (!takesValue()) return fail(arg + " needs a value");

    if (arg == "--plugin") {
      if (value.empty()) return fail("--plugin needs ferro, vortan or a module path");
      o.plugin = value;
    } else if (arg == "--in") {
      if (value.empty()) return fail("--in needs a file name (or - for standard input)");
      o.inPath = value;
    } else if (arg == "--out") {
      if (value.empty() || value == "-") return fail("--out needs a file name");
      o.outPath = value;
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
  r.ok = true;
  return r;
}

}  // namespace amprender
