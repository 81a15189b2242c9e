// One plug-in prepared for an offline render: the module loaded, an instance
// created, opened and told the rate and block size, then a program, a chunk
// and parameter settings applied in that order.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/amprender/options.h"
#include "host/amprender/param_resolver.h"
#include "host/vst_host.h"

namespace amprender {

// A failure and the exit code it ends the program with.
struct Failure {
  int exitCode = kExitFailure;
  std::string message;
};

class PluginSession {
 public:
  // Null with *failure set when the module cannot be loaded, has no entry
  // point, or its entry point returns null or a record without the magic.
  static std::unique_ptr<PluginSession> Open(const std::string& path, int sampleRate, int blockSize,
                                             Failure* failure);
  ~PluginSession();
  PluginSession(const PluginSession&) = delete;
  PluginSession& operator=(const PluginSession&) = delete;

  host::PluginInstance& instance() { return *instance_; }
  vst2::AEffect* effect() { return instance_->effect(); }

  std::vector<ParamInfo> Params();
  bool SelectProgram(int program, Failure* failure);
  bool LoadProgramChunk(const std::vector<uint8_t>& bytes, const std::string& source,
                        Failure* failure);
  bool Apply(const std::vector<ParamSetting>& settings, Failure* failure);
  // Index, name, current display and unit of every parameter, one per line.
  std::string ParamListing();
  // The program chunk; empty with *failure set when the plug-in gives none.
  std::vector<uint8_t> ProgramChunk(Failure* failure);

 private:
  PluginSession(std::unique_ptr<host::PluginModule> module, host::HostConfig config);
  DisplayProbe& Probe();

  std::unique_ptr<host::PluginModule> module_;
  host::HostConfig config_;
  std::unique_ptr<host::PluginInstance> instance_;
  std::unique_ptr<DisplayProbe> probe_;
};

}  // namespace amprender
