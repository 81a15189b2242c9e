// A test-only VST 2.4 module that stands between a host and a real plug-in
// and writes down every call in both directions, so the DAW test can show
// what a real host asks of our plug-ins. The wrapped module is named by
// $DAW_WRAPPED_PLUGIN, the log file by $DAW_CALL_LOG (appended, one line per
// call: "host->plug dispatcher OPCODE index value opt", "plug->host OPCODE
// index value", "host->plug setParameter INDEX VALUE", "host->plug
// processReplacing FRAMES"; process calls are logged when the block size
// changes only, to keep the file short).
#include <dlfcn.h>

#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <mutex>

#include "platform/vst2/aeffect.h"

namespace {

struct Wrapped {
  vst2::AEffect* effect = nullptr;
  vst2::Dispatcher dispatcher = nullptr;
  vst2::SetParameterProc setParameter = nullptr;
  vst2::GetParameterProc getParameter = nullptr;
  vst2::ProcessFloat process = nullptr;
  vst2::ProcessFloat processReplacing = nullptr;
  vst2::ProcessDouble processDoubleReplacing = nullptr;
  vst2::HostCallback host = nullptr;
  std::atomic<int32_t> lastFrames{-1};
};

// One instance at a time is enough for the test; a second creation gets null.
Wrapped g_wrapped;
std::mutex g_logLock;
std::atomic<bool> g_inUse{false};

void Log(const char* format, ...) __attribute__((format(printf, 1, 2)));
void Log(const char* format, ...) {
  const char* path = std::getenv("DAW_CALL_LOG");
  if (!path) return;
  std::lock_guard<std::mutex> lock(g_logLock);
  FILE* f = std::fopen(path, "a");
  if (!f) return;
  va_list args;
  va_start(args, format);
  std::vfprintf(f, format, args);
  va_end(args);
  std::fputc('\n', f);
  std::fclose(f);
}

intptr_t HostCallback(vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t value,
                      void* ptr, float opt) {
  intptr_t answer = g_wrapped.host ? g_wrapped.host(g_wrapped.effect ? g_wrapped.effect : effect,
                                                    opcode, index, value, ptr, opt)
                                   : 0;
  if (opcode == vst2::audioMasterCanDo && ptr)
    Log("plug->host %d canDo %s -> %ld", opcode, static_cast<const char*>(ptr),
        static_cast<long>(answer));
  else
    Log("plug->host %d %d %ld -> %ld", opcode, index, static_cast<long>(value),
        static_cast<long>(answer));
  return answer;
}

intptr_t Dispatch(vst2::AEffect* e, int32_t opcode, int32_t index, intptr_t value, void* ptr,
                  float opt) {
  const vst2::Dispatcher real = g_wrapped.dispatcher;
  if (opcode == vst2::effCanDo && ptr) {
    intptr_t answer = real(e, opcode, index, value, ptr, opt);
    Log("host->plug dispatcher %d canDo %s -> %ld", opcode, static_cast<const char*>(ptr),
        static_cast<long>(answer));
    return answer;
  }
  intptr_t answer = real(e, opcode, index, value, ptr, opt);
  Log("host->plug dispatcher %d %d %ld %g -> %ld", opcode, index, static_cast<long>(value),
      static_cast<double>(opt), static_cast<long>(answer));
  if (opcode == vst2::effClose) g_inUse.store(false);
  return answer;
}

void SetParameter(vst2::AEffect* e, int32_t index, float value) {
  Log("host->plug setParameter %d %.9g", index, static_cast<double>(value));
  g_wrapped.setParameter(e, index, value);
}

float GetParameter(vst2::AEffect* e, int32_t index) { return g_wrapped.getParameter(e, index); }

void NoteFrames(const char* what, int32_t frames) {
  if (g_wrapped.lastFrames.exchange(frames) != frames)
    Log("host->plug %s %d", what, static_cast<int>(frames));
}

void Process(vst2::AEffect* e, float** in, float** out, int32_t frames) {
  NoteFrames("process", frames);
  g_wrapped.process(e, in, out, frames);
}

void ProcessReplacing(vst2::AEffect* e, float** in, float** out, int32_t frames) {
  NoteFrames("processReplacing", frames);
  g_wrapped.processReplacing(e, in, out, frames);
}

void ProcessDoubleReplacing(vst2::AEffect* e, double** in, double** out, int32_t frames) {
  NoteFrames("processDoubleReplacing", frames);
  g_wrapped.processDoubleReplacing(e, in, out, frames);
}

}  // namespace

extern "C" __attribute__((visibility("default"))) vst2::AEffect* VSTPluginMain(
    vst2::HostCallback host) {
  const char* path = std::getenv("DAW_WRAPPED_PLUGIN");
  if (!path || g_inUse.exchange(true)) return nullptr;
  void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
  auto entry =
      module
          ? reinterpret_cast<vst2::AEffect* (*)(vst2::HostCallback)>(dlsym(module, "VSTPluginMain"))
          : nullptr;
  if (!entry) {
    g_inUse.store(false);
    return nullptr;
  }
  g_wrapped.host = host;
  g_wrapped.effect = nullptr;
  Log("host->plug VSTPluginMain");
  vst2::AEffect* e = entry(&HostCallback);
  if (!e) {
    g_inUse.store(false);
    return nullptr;
  }
  g_wrapped.effect = e;
  g_wrapped.dispatcher = e->dispatcher;
  g_wrapped.setParameter = e->setParameter;
  g_wrapped.getParameter = e->getParameter;
  g_wrapped.process = e->process;
  g_wrapped.processReplacing = e->processReplacing;
  g_wrapped.processDoubleReplacing = e->processDoubleReplacing;
  e->dispatcher = &Dispatch;
  e->setParameter = &SetParameter;
  e->getParameter = &GetParameter;
  if (e->process) e->process = &Process;
  if (e->processReplacing) e->processReplacing = &ProcessReplacing;
  if (e->processDoubleReplacing) e->processDoubleReplacing = &ProcessDoubleReplacing;
  Log("flags 0x%x inputs %d outputs %d params %d programs %d delay %d", e->flags, e->numInputs,
      e->numOutputs, e->numParams, e->numPrograms, e->initialDelay);
  return e;
}
