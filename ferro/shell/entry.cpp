// The module's entry points. Hosts call VSTPluginMain (older ones main) once
// per effect instance, from any thread.
#include <new>

#include "ferro/shell/iplug_ferro.h"
#include "platform/lock/recursive_lock.h"

namespace {
// Created on the first call, destroyed at library unload.
platform::RecursiveLock& CreationLock() {
  static platform::RecursiveLock lock;
  return lock;
}
}  // namespace

VST2_EXPORT vst2::AEffect* VSTPluginMain(vst2::HostCallback hostCallback) {
  platform::ScopedLock guard(CreationLock());
  IPlug_Ferro* plug = new (std::nothrow) IPlug_Ferro(hostCallback);
  if (!plug) return nullptr;
  plug->EnsureOnePreset();
  vst2::AEffect* effect = plug->GetAEffect();
  if (effect->numPrograms < 1) effect->numPrograms = 1;
  return effect;
}

#if !defined(_WIN32)
// GCC will not define a function named main that returns a pointer; export
// the same entry under that symbol name instead. (A Windows module exports
// VSTPluginMain a second time as main through its .def file.)
VST2_EXPORT vst2::AEffect* VSTMainAlias(vst2::HostCallback hostCallback) __asm__("main");
vst2::AEffect* VSTMainAlias(vst2::HostCallback hostCallback) { return VSTPluginMain(hostCallback); }
#endif
