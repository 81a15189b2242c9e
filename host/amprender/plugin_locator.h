// Turns --plugin ferro|vortan|PATH into a module file. The two short names
// mean the modules of the same build: <build>/plugins/, found next to the
// executable (<build>/host/amprender/amprender), else the build folder the
// executable was compiled in.
#pragma once

#include <string>

namespace amprender {

struct LocatedPlugin {
  bool ok = false;
  std::string path;
  std::string error;
};

// exeDir is the folder of the running executable (empty: unknown).
LocatedPlugin LocatePlugin(const std::string& choice, const std::string& exeDir);

// The folder of the running executable, from /proc/self/exe.
std::string ExecutableDir();

}  // namespace amprender
