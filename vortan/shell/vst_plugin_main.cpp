// The module's two exported entry points; both create one Vortan instance.
// Compiled into the plug-in module itself so the linker keeps them.
#include "platform/vst2/aeffect.h"
#include "vortan/shell/vortan_entry.h"

VST2_EXPORT vst2::AEffect* VSTPluginMain(vst2::HostCallback audioMaster) {
  return vortan::CreateVortanEffect(audioMaster);
}

#if !defined(_WIN32)
// Older hosts look for "main". A C++ function of that name cannot return a
// pointer, so the alias gets the name through an assembler label.
VST2_EXPORT vst2::AEffect* vstMainAlias(vst2::HostCallback audioMaster) __asm__("main");
vst2::AEffect* vstMainAlias(vst2::HostCallback audioMaster) {
  return vortan::CreateVortanEffect(audioMaster);
}
#endif
