// One LV2 instance of a plug-in: the plug-in's AEffect created through its
// own entry point with this layer's host callback, the host's port buffers,
// the last control values applied, and the editor's pending edits on their
// way to the UI thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/vst2/aeffect.h"

namespace lv2layer {

// What the editor asked of the host, per parameter, read by the UI's idle
// callback. Written from whichever thread the editor reports on.
struct PendingEdit {
  std::atomic<float> normalized{0.0f};
  std::atomic<bool> changed{false};
  std::atomic<int> begins{0};
  std::atomic<int> ends{0};
};

class PluginInstance {
 public:
  // Null when the plug-in could not be created or is not a stereo effect.
  static PluginInstance* Create(double sampleRate, int32_t maxBlock, const std::string& uri);
  ~PluginInstance();
  PluginInstance(const PluginInstance&) = delete;
  PluginInstance& operator=(const PluginInstance&) = delete;

  void ConnectPort(uint32_t port, void* data);
  void Activate();
  void Deactivate();
  // Audio thread: control changes, then the plug-in on the host's buffers.
  void Run(uint32_t frames);
  // Control ports whose value changed become setParameter calls (activate and run).
  void ApplyControlPorts();

  vst2::AEffect* effect() const { return effect_; }
  int32_t numParams() const { return effect_->numParams; }
  const std::string& uri() const { return uri_; }
  double sampleRate() const { return sampleRate_; }
  int32_t maxBlock() const { return maxBlock_; }

  // The plug-in's own mapping; false when it does not answer.
  bool ToNormalized(int32_t param, double plain, double* normalized) const;
  bool ToPlain(int32_t param, double normalized, double* plain) const;
  // The current value of a parameter in its own units, as a port holds it.
  float PlainValue(int32_t param) const;
  // After a state restore: the ports now count as applied when they hold
  // the restored values, so they do not overwrite them.
  void ForgetAppliedPorts();

  PendingEdit& pending(int32_t param) { return pending_[param]; }
  bool editorOpen() const { return editorOpen_.load(std::memory_order_acquire); }
  void setEditorOpen(bool open) { editorOpen_.store(open, std::memory_order_release); }

  // The answers to the plug-in's requests.
  intptr_t Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt);

 private:
  PluginInstance(double sampleRate, int32_t maxBlock, std::string uri);

  vst2::AEffect* effect_ = nullptr;
  double sampleRate_;
  int32_t maxBlock_;
  std::string uri_;
  const float* audioIn_[2] = {nullptr, nullptr};
  float* audioOut_[2] = {nullptr, nullptr};
  float* latency_ = nullptr;
  std::unique_ptr<const float*[]> controls_;
  std::unique_ptr<float[]> applied_;  // last port value taken over (NaN: none yet)
  std::unique_ptr<PendingEdit[]> pending_;
  std::atomic<bool> editorOpen_{false};
  bool active_ = false;
};

}  // namespace lv2layer

// The plug-in's entry point, linked into the bundle from the plug-in's own
// sources.
extern "C" vst2::AEffect* VSTPluginMain(vst2::HostCallback hostCallback);
