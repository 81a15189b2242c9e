// Runs the amprender executable as a user would, in a scratch folder, and
// collects its exit code and output.
#pragma once

#include <string>
#include <vector>

namespace amprender_test {

struct ToolResult {
  int exitCode = -1;  // 128 + signal when it was killed
  std::string out;
  std::string err;
};

struct ToolRun {
  std::vector<std::string> args;
  std::string workDir;      // run there (must exist)
  std::string stdinFile;    // fed to standard input when not empty
  long fileSizeLimit = -1;  // RLIMIT_FSIZE in bytes when >= 0
};

ToolResult RunTool(const ToolRun& run);

// A fresh empty folder under the test temporary folder, removed with its
// contents by the destructor.
class ScratchDir {
 public:
  ScratchDir();
  ~ScratchDir();
  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }
  std::vector<std::string> Files() const;  // names in the folder, sorted

 private:
  std::string path_;
};

std::vector<unsigned char> ReadBytes(const std::string& path);
bool Exists(const std::string& path);

}  // namespace amprender_test
