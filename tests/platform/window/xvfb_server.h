// A private virtual X server for one test process: Xvfb on a display number
// it picks itself (-displayfd), stopped when the object goes.
#pragma once

#include <sys/types.h>

#include <memory>
#include <string>

namespace testing_x11 {

class XvfbServer {
 public:
  // Null when Xvfb is not installed or does not come up within a few seconds.
  static std::unique_ptr<XvfbServer> Start();
  ~XvfbServer();

  const std::string& display_name() const { return display_name_; }
  // Kills the server now, as a crash would.
  void Kill();

 private:
  XvfbServer(pid_t pid, std::string name) : pid_(pid), display_name_(std::move(name)) {}
  pid_t pid_;  // 0 once stopped
  std::string display_name_;
};

// True when an executable of this name is on PATH.
bool OnPath(const char* program);

}  // namespace testing_x11
