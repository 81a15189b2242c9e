// A small VST 2.4 host: loads a plug-in module, creates instances through its
// entry point, drives the dispatcher, parameters, chunks and the three process
// callbacks, and records every request the plug-in makes of the host. Used by
// the host tests and by amprender; it sees a plug-in only through the ABI.
#pragma once

#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/vst2/aeffect.h"

namespace host {

using EntryPoint = vst2::AEffect*(VST2_CALL*)(vst2::HostCallback);

// One loaded module (dlopen handle) and its entry point.
class PluginModule {
 public:
  // Loads the file and finds VSTPluginMain (or main). Returns null and fills
  // *error when the file cannot be loaded or has no entry point.
  static std::unique_ptr<PluginModule> Load(const std::string& path, std::string* error);
  ~PluginModule();
  PluginModule(const PluginModule&) = delete;
  PluginModule& operator=(const PluginModule&) = delete;

  EntryPoint entry() const { return entry_; }
  const std::string& path() const { return path_; }

 private:
  PluginModule(void* handle, EntryPoint entry, std::string path)
      : handle_(handle), entry_(entry), path_(std::move(path)) {}
  void* handle_;
  EntryPoint entry_;
  std::string path_;
};

// What the host answers when a plug-in asks.
struct HostConfig {
  std::string productString = "valve test host";
  std::string vendorString = "valve";
  intptr_t vendorVersion = 10000;  // decimal major*10000 + minor*100 + revision
  intptr_t vstVersion = 2400;      // answer to audioMasterVersion
  double sampleRate = 44100.0;
  intptr_t blockSize = 1024;
  // Keep every request in Calls(). A long-running host (a live rig) turns it
  // off: recording allocates, and the list would grow without end.
  bool recordCalls = true;
};

// One request the plug-in made of the host.
struct HostCall {
  int32_t opcode = 0;
  int32_t index = 0;
  intptr_t value = 0;
  float opt = 0.0f;
  std::thread::id thread;
  std::vector<uint8_t> events;  // the MIDI bytes of audioMasterProcessEvents
};

// One plug-in instance.
class PluginInstance {
 public:
  // Calls the entry point. effect() is null when the plug-in returned null.
  PluginInstance(const PluginModule& module, HostConfig config = {});
  ~PluginInstance();  // effClose if not closed yet
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  vst2::AEffect* effect() const { return effect_; }
  bool ok() const { return effect_ != nullptr; }

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
  void Open();
  void Close();
  void SetSampleRate(float rate);
  void SetBlockSize(int32_t frames);
  void MainsChanged(bool on);

  // Strings through the dispatcher, into a buffer of the given size (the
  // capacity a host commonly gives for that request).
  std::string DispatchString(int32_t opcode, int32_t index = 0, intptr_t value = 0,
                             float opt = 0.0f, size_t capacity = 256);
  std::string ParamName(int32_t index);
  std::string ParamLabel(int32_t index);
  std::string ParamDisplay(int32_t index);
  std::string EffectName();
  std::string VendorString();
  std::string ProductString();
  std::string ProgramName();
  float GetParameter(int32_t index);
  void SetParameter(int32_t index, float value);

  // Chunks: bank when program is false (index 0), program otherwise (index 1).
  std::vector<uint8_t> GetChunk(bool program);
  intptr_t SetChunk(const std::vector<uint8_t>& bytes, bool program);

  // Process through each callback. in and out hold one vector per channel;
  // the channel counts are the vectors' sizes.
  void ProcessReplacing(std::vector<std::vector<float>>& in, std::vector<std::vector<float>>& out);
  void ProcessAccumulating(std::vector<std::vector<float>>& in,
                           std::vector<std::vector<float>>& out);
  void ProcessDouble(std::vector<std::vector<double>>& in, std::vector<std::vector<double>>& out);

  std::vector<HostCall> Calls() const;
  std::vector<HostCall> CallsWith(int32_t opcode) const;
  void ClearCalls();
  const HostConfig& config() const { return config_; }

 private:
  friend intptr_t VST2_CALL HostCallbackEntry(vst2::AEffect*, int32_t, int32_t, intptr_t, void*,
                                              float);
  intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);
  void Record(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

  HostConfig config_;
  vst2::AEffect* effect_ = nullptr;
  bool closed_ = false;
  mutable std::mutex callsMutex_;
  std::vector<HostCall> calls_;
};

intptr_t VST2_CALL HostCallbackEntry(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                     intptr_t value, void* ptr, float opt);

}  // namespace host
