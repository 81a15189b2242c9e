// Writes what a host observes of a Linux plug-in module (see plugin_probe.h)
// into a file, the reference the Windows build of the same plug-in is
// compared with under Wine:
//   windows_render_reference <plugin.so> <out file>
#include <cstdio>
#include <string>

#include "tests/windows/plugin_probe.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: %s <plugin module> <out file>\n", argv[0]);
    return 2;
  }
  std::string error;
  std::unique_ptr<host::PluginModule> module = host::PluginModule::Load(argv[1], &error);
  if (!module) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 1;
  }
  const probe::Observation observation = probe::Observe(*module);
  if (!probe::Write(observation, argv[2])) {
    std::fprintf(stderr, "cannot write %s\n", argv[2]);
    return 1;
  }
  std::printf("%s: %zu lines, %zu samples\n", argv[2], observation.lines.size(),
              observation.samples.size());
  return 0;
}
