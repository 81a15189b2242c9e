// amprender: re-amps a DI recording (or the built-in riff) through a VST 2.4
// amplifier plug-in and writes the result as a WAV file.
#include <string>
#include <vector>

#include "host/amprender/run.h"

int main(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  return amprender::Run(args);
}
