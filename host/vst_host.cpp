#include "host/vst_host.h"

#include <algorithm>
#include <cstring>
#include <map>

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace host {
namespace {

// The callback receives only the AEffect pointer, and during the entry point
// not even that (the record does not exist yet): instances register here, and
// the instance being created is found through a thread-local.
std::mutex& RegistryMutex() {
  static std::mutex m;
  return m;
}
std::map<vst2::AEffect*, PluginInstance*>& Registry() {
  static std::map<vst2::AEffect*, PluginInstance*> r;
  return r;
}
thread_local PluginInstance* tCreating = nullptr;

void* FindSymbol(void* handle, const char* name) {
#if defined(_WIN32)
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle), name));
#else
  return dlsym(handle, name);
#endif
}

}  // namespace

std::unique_ptr<PluginModule> PluginModule::Load(const std::string& path, std::string* error) {
#if defined(_WIN32)
  void* handle = reinterpret_cast<void*>(LoadLibraryA(path.c_str()));
  if (!handle) {
    if (error) *error = "cannot load " + path;
    return nullptr;
  }
#else
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (!handle) {
    if (error) *error = std::string("cannot load ") + path + ": " + dlerror();
    return nullptr;
  }
#endif
  void* sym = FindSymbol(handle, "VSTPluginMain");
  if (!sym) sym = FindSymbol(handle, "main");
  if (!sym) {
    if (error) *error = path + " exports neither VSTPluginMain nor main";
#if defined(_WIN32)
    FreeLibrary(static_cast<HMODULE>(handle));
#else
    dlclose(handle);
#endif
    return nullptr;
  }
  EntryPoint entry;
  static_assert(sizeof(entry) == sizeof(sym), "function and data pointers differ");
  std::memcpy(&entry, &sym, sizeof(entry));
  return std::unique_ptr<PluginModule>(new PluginModule(handle, entry, path));
}

PluginModule::~PluginModule() {
#if defined(_WIN32)
  FreeLibrary(static_cast<HMODULE>(handle_));
#else
  dlclose(handle_);
#endif
}

intptr_t VST2_CALL HostCallbackEntry(vst2::AEffect* effect, int32_t opcode, int32_t index,
                                     intptr_t value, void* ptr, float opt) {
  PluginInstance* instance = nullptr;
  {
    std::lock_guard<std::mutex> guard(RegistryMutex());
    auto it = Registry().find(effect);
    if (it != Registry().end()) instance = it->second;
  }
  if (!instance) instance = tCreating;
  if (!instance) return opcode == vst2::audioMasterVersion ? 2400 : 0;
  return instance->Answer(opcode, index, value, ptr, opt);
}

PluginInstance::PluginInstance(const PluginModule& module, HostConfig config)
    : config_(std::move(config)) {
  tCreating = this;
  effect_ = module.entry()(&HostCallbackEntry);
  tCreating = nullptr;
  if (effect_ && effect_->magic != vst2::kEffectMagic) effect_ = nullptr;
  if (effect_) {
    std::lock_guard<std::mutex> guard(RegistryMutex());
    Registry()[effect_] = this;
  }
}

PluginInstance::~PluginInstance() { Close(); }

void PluginInstance::Close() {
  if (!effect_ || closed_) return;
  Dispatch(vst2::effClose);
  closed_ = true;
  std::lock_guard<std::mutex> guard(RegistryMutex());
  Registry().erase(effect_);
}

void PluginInstance::Record(int32_t opcode, int32_t index, intptr_t value, void* ptr, float opt) {
  HostCall call;
  call.opcode = opcode;
  call.index = index;
  call.value = value;
  call.opt = opt;
  call.thread = std::this_thread::get_id();
  if (opcode == vst2::audioMasterProcessEvents && ptr) {
    auto* events = static_cast<vst2::VstEvents*>(ptr);
    for (int32_t i = 0; i < events->numEvents; ++i) {
      const vst2::VstEvent* e = events->events[i];
      if (e && e->type == vst2::kVstMidiType) {
        const auto* m = reinterpret_cast<const vst2::VstMidiEvent*>(e);
        for (char b : m->midiData) call.events.push_back(static_cast<uint8_t>(b));
      }
    }
  }
  {
    std::lock_guard<std::mutex> guard(callsMutex_);
    calls_.push_back(call);
  }
}

intptr_t PluginInstance::Answer(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                float opt) {
  if (config_.recordCalls) Record(opcode, index, value, ptr, opt);
  switch (opcode) {
    case vst2::audioMasterVersion:
      return config_.vstVersion;
    case vst2::audioMasterGetProductString:
      if (ptr) std::snprintf(static_cast<char*>(ptr), 64, "%s", config_.productString.c_str());
      return ptr ? 1 : 0;
    case vst2::audioMasterGetVendorString:
      if (ptr) std::snprintf(static_cast<char*>(ptr), 64, "%s", config_.vendorString.c_str());
      return ptr ? 1 : 0;
    case vst2::audioMasterGetVendorVersion:
      return config_.vendorVersion;
    case vst2::audioMasterGetSampleRate:
      return static_cast<intptr_t>(config_.sampleRate);
    case vst2::audioMasterGetBlockSize:
      return config_.blockSize;
    case vst2::audioMasterAutomate:
    case vst2::audioMasterBeginEdit:
    case vst2::audioMasterEndEdit:
    case vst2::audioMasterProcessEvents:
      return 1;
    default:
      return 0;
  }
}

intptr_t PluginInstance::Dispatch(int32_t opcode, int32_t index, intptr_t value, void* ptr,
                                  float opt) {
  if (!effect_ || closed_) return 0;
  return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

void PluginInstance::Open() { Dispatch(vst2::effOpen); }
void PluginInstance::SetSampleRate(float rate) {
  config_.sampleRate = rate;
  Dispatch(vst2::effSetSampleRate, 0, 0, nullptr, rate);
}
void PluginInstance::SetBlockSize(int32_t frames) {
  config_.blockSize = frames;
  Dispatch(vst2::effSetBlockSize, 0, frames);
}
void PluginInstance::MainsChanged(bool on) { Dispatch(vst2::effMainsChanged, 0, on ? 1 : 0); }

std::string PluginInstance::DispatchString(int32_t opcode, int32_t index, intptr_t value,
                                           float opt, size_t capacity) {
  std::vector<char> buffer(std::max<size_t>(capacity, 1) + 64, '\0');
  Dispatch(opcode, index, value, buffer.data(), opt);
  return std::string(buffer.data(), strnlen(buffer.data(), buffer.size()));
}

std::string PluginInstance::ParamName(int32_t index) {
  return DispatchString(vst2::effGetParamName, index);
}
std::string PluginInstance::ParamLabel(int32_t index) {
  return DispatchString(vst2::effGetParamLabel, index);
}
std::string PluginInstance::ParamDisplay(int32_t index) {
  return DispatchString(vst2::effGetParamDisplay, index);
}
std::string PluginInstance::EffectName() { return DispatchString(vst2::effGetEffectName); }
std::string PluginInstance::VendorString() { return DispatchString(vst2::effGetVendorString); }
std::string PluginInstance::ProductString() { return DispatchString(vst2::effGetProductString); }
std::string PluginInstance::ProgramName() { return DispatchString(vst2::effGetProgramName); }

float PluginInstance::GetParameter(int32_t index) {
  return effect_ ? effect_->getParameter(effect_, index) : 0.0f;
}
void PluginInstance::SetParameter(int32_t index, float value) {
  if (effect_) effect_->setParameter(effect_, index, value);
}

std::vector<uint8_t> PluginInstance::GetChunk(bool program) {
  void* data = nullptr;
  intptr_t size = Dispatch(vst2::effGetChunk, program ? 1 : 0, 0, &data);
  if (size <= 0 || !data) return {};
  const auto* bytes = static_cast<const uint8_t*>(data);
  return std::vector<uint8_t>(bytes, bytes + size);
}

intptr_t PluginInstance::SetChunk(const std::vector<uint8_t>& bytes, bool program) {
  // A host hands its own copy; keep it alive for the call only.
  std::vector<uint8_t> copy = bytes;
  return Dispatch(vst2::effSetChunk, program ? 1 : 0, static_cast<intptr_t>(copy.size()),
                  copy.empty() ? nullptr : copy.data());
}

namespace {
template <typename T>
std::vector<T*> Pointers(std::vector<std::vector<T>>& channels) {
  std::vector<T*> p;
  for (auto& c : channels) p.push_back(c.data());
  p.push_back(nullptr);
  return p;
}
template <typename T>
int32_t Frames(const std::vector<std::vector<T>>& in, const std::vector<std::vector<T>>& out) {
  size_t n = SIZE_MAX;
  for (auto& c : in) n = std::min(n, c.size());
  for (auto& c : out) n = std::min(n, c.size());
  return n == SIZE_MAX ? 0 : static_cast<int32_t>(n);
}
}  // namespace

void PluginInstance::ProcessReplacing(std::vector<std::vector<float>>& in,
                                      std::vector<std::vector<float>>& out) {
  auto ip = Pointers(in);
  auto op = Pointers(out);
  effect_->processReplacing(effect_, ip.data(), op.data(), Frames(in, out));
}

void PluginInstance::ProcessAccumulating(std::vector<std::vector<float>>& in,
                                         std::vector<std::vector<float>>& out) {
  auto ip = Pointers(in);
  auto op = Pointers(out);
  effect_->process(effect_, ip.data(), op.data(), Frames(in, out));
}

void PluginInstance::ProcessDouble(std::vector<std::vector<double>>& in,
                                   std::vector<std::vector<double>>& out) {
  auto ip = Pointers(in);
  auto op = Pointers(out);
  effect_->processDoubleReplacing(effect_, ip.data(), op.data(), Frames(in, out));
}

std::vector<HostCall> PluginInstance::Calls() const {
  std::lock_guard<std::mutex> guard(callsMutex_);
  return calls_;
}

std::vector<HostCall> PluginInstance::CallsWith(int32_t opcode) const {
  std::lock_guard<std::mutex> guard(callsMutex_);
  std::vector<HostCall> r;
  for (const auto& c : calls_)
    if (c.opcode == opcode) r.push_back(c);
  return r;
}

void PluginInstance::ClearCalls() {
  std::lock_guard<std::mutex> guard(callsMutex_);
  calls_.clear();
}

}  // namespace host
