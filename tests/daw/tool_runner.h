// Running Ardour's command-line tools from a test: each in a process of its
// own, with an environment the test chooses, its output captured, and killed
// (with everything it started) when it outlives its time.
#pragma once

#include <string>
#include <vector>

namespace daw {

struct ToolResult {
  int exitCode = -1;  // -1 when it could not start, was killed or timed out
  bool timedOut = false;
  int signal = 0;  // the signal that ended it, 0 when it exited or timed out
  std::string output;  // standard output and error together
};

// Runs argv[0] (a path) with the given argument vector and environment
// ("NAME=value" strings) in `workDir`, the output going to `logPath`.
ToolResult RunTool(const std::vector<std::string>& argv, const std::vector<std::string>& env,
                   const std::string& workDir, const std::string& logPath, int timeoutSeconds);

}  // namespace daw
