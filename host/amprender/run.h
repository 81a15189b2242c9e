// The amprender program: parse the command line, prepare the plug-in, render
// and report. Returns the process exit code (see options.h).
#pragma once

#include <string>
#include <vector>

namespace amprender {

int Run(const std::vector<std::string>& args);

}  // namespace amprender
