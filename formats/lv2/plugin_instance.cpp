#include "formats/lv2/plugin_instance.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <new>

#include "formats/lv2/port_layout.h"
#include "platform/vst2/parameter_description.h"

namespace lv2layer {
namespace {

// The instance being created: the plug-in may call the host from inside its
// entry point, before AEffect::user can point back to us.
thread_local PluginInstance* tCreating = nullptr;

intptr_t VST2_CALL HostCallback(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                intptr_t value, void* ptr, float opt) {
  PluginInstance* self =
      effect && effect->user ? static_cast<PluginInstance*>(effect->user) : tCreating;
  if (opcode == vst2::audioMasterVersion) return 2400;
  return self ? self->Answer(opcode, index, value, ptr, opt) : 0;
}

void CopyString(void* ptr, const char* text, size_t capacity) {
  if (!ptr) return;
  std::strncpy(static_cast<char*>(ptr), text, capacity - 1);
  static_cast<char*>(ptr)[capacity - 1] = '\0';
}

}  // namespace

PluginInstance::PluginInstance(double sampleRate, int32_t maxBlock, std::string uri)
    : sampleRate_(sampleRate), maxBlock_(maxBlock), uri_(std::move(uri)) {}

PluginInstance* PluginInstance::Create(double sampleRate, int32_t maxBlock,
                                       const std::string& uri) {
  std::unique_ptr<PluginInstance> self(
      new (std::nothrow) PluginInstance(sampleRate, maxBlock > 0 ? maxBlock : kDefaultBlockLength, uri));
  if (!self) return nullptr;
  tCreating = self.get();
  vst2::AEffect* effect = VSTPluginMain(&HostCallback);
  tCreating = nullptr;
  if (!effect || effect->magic != vst2::kEffectMagic) return nullptr;
  self->effect_ = effect;
  effect->user = self.get();
  if (effect->numInputs != 2 || effect->numOutputs != 2 || effect->numParams < 0 ||
      !effect->processReplacing) {
    return nullptr;  // the destructor closes it
  }
  const int32_t n = effect->numParams;
  self->controls_.reset(new (std::nothrow) const float*[static_cast<size_t>(n) + 1]());
  self->applied_.reset(new (std::nothrow) float[static_cast<size_t>(n) + 1]);
  self->pending_.reset(new (std::nothrow) PendingEdit[static_cast<size_t>(n) + 1]);
  if (!self->controls_ || !self->applied_ || !self->pending_) return nullptr;
  self->ForgetAppliedPorts();
  effect->dispatcher(effect, vst2::effOpen, 0, 0, nullptr, 0.0f);
  effect->dispatcher(effect, vst2::effSetSampleRate, 0, 0, nullptr, static_cast<float>(sampleRate));
  effect->dispatcher(effect, vst2::effSetBlockSize, 0, self->maxBlock_, nullptr, 0.0f);
  return self.release();
}

PluginInstance::~PluginInstance() {
  if (!effect_) return;
  if (active_) Deactivate();
  effect_->dispatcher(effect_, vst2::effClose, 0, 0, nullptr, 0.0f);
}

void PluginInstance::ConnectPort(uint32_t port, void* data) {
  switch (port) {
    case kAudioInLeft:
    case kAudioInRight:
      audioIn_[port - kAudioInLeft] = static_cast<const float*>(data);
      return;
    case kAudioOutLeft:
    case kAudioOutRight:
      audioOut_[port - kAudioOutLeft] = static_cast<float*>(data);
      return;
    case kLatency:
      latency_ = static_cast<float*>(data);
      return;
    default:
      if (port - kFirstParameter < static_cast<uint32_t>(numParams()))
        controls_[port - kFirstParameter] = static_cast<const float*>(data);
  }
}

void PluginInstance::Activate() {
  if (active_) return;
  // The values the host has put on the ports count from the start: a plug-in
  // that prepares itself at resume (Ferro settles its chains there) does it
  // with them, on the host's thread, not in the first run().
  ApplyControlPorts();
  effect_->dispatcher(effect_, vst2::effMainsChanged, 0, 1, nullptr, 0.0f);
  effect_->dispatcher(effect_, vst2::effStartProcess, 0, 0, nullptr, 0.0f);
  active_ = true;
}

void PluginInstance::Deactivate() {
  if (!active_) return;
  effect_->dispatcher(effect_, vst2::effStopProcess, 0, 0, nullptr, 0.0f);
  effect_->dispatcher(effect_, vst2::effMainsChanged, 0, 0, nullptr, 0.0f);
  active_ = false;
}

bool PluginInstance::ToNormalized(int32_t param, double plain, double* normalized) const {
  *normalized = plain;
  return effect_->dispatcher(effect_, vst2::effVendorSpecific, vst2::kVendorPlainToNormalized,
                             param, normalized, 0.0f) == vst2::kVendorHandled;
}

bool PluginInstance::ToPlain(int32_t param, double normalized, double* plain) const {
  *plain = normalized;
  return effect_->dispatcher(effect_, vst2::effVendorSpecific, vst2::kVendorNormalizedToPlain,
                             param, plain, 0.0f) == vst2::kVendorHandled;
}

float PluginInstance::PlainValue(int32_t param) const {
  double plain = 0.0;
  ToPlain(param, effect_->getParameter(effect_, param), &plain);
  return static_cast<float>(plain);
}

void PluginInstance::ForgetAppliedPorts() {
  for (int32_t i = 0; i < numParams(); ++i) applied_[i] = std::numeric_limits<float>::quiet_NaN();
}

void PluginInstance::ApplyControlPorts() {
  // A port that changed since the last block and no longer holds what the
  // plug-in's current value reads as in its own units becomes a
  // setParameter, in parameter order.
  for (int32_t i = 0; i < numParams(); ++i) {
    const float* port = controls_[i];
    if (!port) continue;
    const float value = *port;
    if (value == applied_[i] || std::isnan(value)) continue;
    applied_[i] = value;
    if (value == PlainValue(i)) continue;
    double normalized = 0.0;
    if (ToNormalized(i, value, &normalized))
      effect_->setParameter(effect_, i, static_cast<float>(normalized));
  }
}

void PluginInstance::Run(uint32_t frames) {
  ApplyControlPorts();
  if (latency_) *latency_ = static_cast<float>(effect_->initialDelay);
  if (frames == 0 || !audioOut_[0] || !audioOut_[1]) return;
  if (!audioIn_[0] || !audioIn_[1]) {
    std::memset(audioOut_[0], 0, frames * sizeof(float));
    std::memset(audioOut_[1], 0, frames * sizeof(float));
    return;
  }
  float* in[2] = {const_cast<float*>(audioIn_[0]), const_cast<float*>(audioIn_[1])};
  float* out[2] = {audioOut_[0], audioOut_[1]};
  effect_->processReplacing(effect_, in, out, static_cast<int32_t>(frames));
}

intptr_t PluginInstance::Answer(int32_t opcode, int32_t index, intptr_t, void* ptr, float opt) {
  switch (opcode) {
    case vst2::audioMasterAutomate:
      if (index >= 0 && effect_ && index < numParams() && editorOpen()) {
        pending_[index].normalized.store(opt, std::memory_order_relaxed);
        pending_[index].changed.store(true, std::memory_order_release);
      }
      return 0;
    case vst2::audioMasterBeginEdit:
    case vst2::audioMasterEndEdit:
      if (index >= 0 && effect_ && index < numParams() && editorOpen()) {
        auto& counter = opcode == vst2::audioMasterBeginEdit ? pending_[index].begins
                                                             : pending_[index].ends;
        counter.fetch_add(1, std::memory_order_release);
      }
      return 1;
    case vst2::audioMasterGetSampleRate:
      return static_cast<intptr_t>(sampleRate_);
    case vst2::audioMasterGetBlockSize:
      return maxBlock_;
    case vst2::audioMasterGetVendorString:
      CopyString(ptr, "valve-amps", vst2::kMaxVendorStrLen);
      return 1;
    case vst2::audioMasterGetProductString:
      CopyString(ptr, "LV2 wrapper", vst2::kMaxProductStrLen);
      return 1;
    case vst2::audioMasterGetVendorVersion:
      return 10000;
    case vst2::audioMasterUpdateDisplay:
      return 1;
    default:
      return 0;
  }
}

}  // namespace lv2layer
