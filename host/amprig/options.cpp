#include "host/amprig/options.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace amprig {
namespace {

bool ParseDb(const std::string& text, double* db) {
  std::string t = text;
  if (t.size() > 2 && (t.compare(t.size() - 2, 2, "dB") == 0 || t.compare(t.size() - 2, 2, "db") == 0))
    t.resize(t.size() - 2);
  if (t.empty()) return false;
  char* end = nullptr;
  errno = 0;
  *db = std::strtod(t.c_str(), &end);
  return errno == 0 && end && *end == '\0' && std::isfinite(*db) && std::fabs(*db) <= 60.0;
}

bool ParseInt(const std::string& text, int* v) {
  if (text.empty() || text.size() > 6 || text.find_first_not_of("0123456789") != std::string::npos)
    return false;
  *v = std::atoi(text.c_str());
  return true;
}

}  // namespace

const char* UsageText() {
  return "usage: amprig [--plugin ferro|vortan|PATH] [--preset FILE.fxp|FILE.fxb] [--program N]\n"
         "              [--cab NAME|FILE|none] [--gain DB] [--out-level DB] [--name CLIENT]\n"
         "              [--connect] [--in-port PORT] [--out-port PORT]... [--no-gui]\n"
         "Plays a guitar live through an amplifier and a cabinet as a JACK client with\n"
         "an input `in` and outputs `out_L` and `out_R`.\n"
         "  --plugin     the amplifier (default ferro)\n"
         "  --preset     start from a preset file instead of the saved state\n"
         "  --program    the program to play (of the bank preset, or of the plug-in)\n"
         "  --cab        a built-in cabinet (amprender --list-cabs), an IR file, or none\n"
         "  --gain       input gain in dB, -60..60 (default 0, or the saved one)\n"
         "  --out-level  output level in dB after the cabinet, -60..60\n"
         "  --name       the JACK client name (default amprig)\n"
         "  --connect    connect the first physical capture port to the input and the\n"
         "               first two physical playback ports to the outputs\n"
         "  --in-port, --out-port  connect to these JACK ports instead\n"
         "  --no-gui     no window, only the status line\n"
         "The state (the amplifier's settings, cabinet and levels) is saved in\n"
         "$XDG_CONFIG_HOME/amprig/<amp>.state on exit and a second after each change.\n";
}

ParseResult ParseOptions(const std::vector<std::string>& args) {
  ParseResult r;
  Options& o = r.options;
  auto fail = [&](const std::string& why) {
    r.error = why;
    return r;
  };
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) return false;
      *out = args[++i];
      return true;
    };
    std::string v;
    if (a == "--help" || a == "-h") {
      o.showHelp = true;
    } else if (a == "--connect") {
      o.connect = true;
    } else if (a == "--no-gui") {
      o.noGui = true;
    } else if (a == "--plugin" || a == "--preset" || a == "--cab" || a == "--name" ||
               a == "--in-port" || a == "--out-port" || a == "--program" || a == "--gain" ||
               a == "--out-level") {
      if (!value(&v) || v.empty()) return fail(a + " needs a value");
      if (a == "--plugin") o.plugin = v;
      if (a == "--preset") o.preset = v;
      if (a == "--cab") o.cab = v;
      if (a == "--name") o.name = v;
      if (a == "--in-port") o.inPort = v;
      if (a == "--out-port") {
        if (o.outPorts.size() == 2) return fail("--out-port takes at most two ports");
        o.outPorts.push_back(v);
      }
      if (a == "--program" && !ParseInt(v, &o.program))
        return fail("--program needs a program number, not '" + v + "'");
      if (a == "--gain") {
        if (!ParseDb(v, &o.gainDb)) return fail("--gain needs a level in dB within -60..60, not '" + v + "'");
        o.gainGiven = true;
      }
      if (a == "--out-level") {
        if (!ParseDb(v, &o.outLevelDb))
          return fail("--out-level needs a level in dB within -60..60, not '" + v + "'");
        o.outLevelGiven = true;
      }
    } else {
      return fail("unknown option '" + a + "'");
    }
  }
  if (o.connect && (!o.inPort.empty() || !o.outPorts.empty()))
    return fail("--connect picks the physical ports; leave out --in-port and --out-port with it");
  r.ok = true;
  return r;
}

}  // namespace amprig
