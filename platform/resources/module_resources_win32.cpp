// Windows: the module's resources (compiled in from the .rc file that
// valve_embed_resources writes) found by numeric id through the module's
// handle, which DllMain stores when the DLL is loaded and does nothing else.
#ifndef NOMINMAX
#define NOMINMAX
#endif
// clang-format off
#include <windef.h>  // first: winbase.h builds on its types
#include <winbase.h>
// clang-format on

#include "platform/resources/resources.h"

namespace {
HMODULE gModule = nullptr;  // null outside a DLL: the program's own resources
}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  (void)reserved;
  if (reason == DLL_PROCESS_ATTACH) gModule = instance;
  return TRUE;
}

namespace platform {

ResourceEntry ModuleResource(int id) noexcept {
  const LPCSTR name = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(id));
  const LPCSTR rcdata = reinterpret_cast<LPCSTR>(static_cast<ULONG_PTR>(10));  // RT_RCDATA
  HRSRC found = FindResourceA(gModule, name, rcdata);
  HGLOBAL loaded = found ? LoadResource(gModule, found) : nullptr;
  const void* bytes = loaded ? LockResource(loaded) : nullptr;
  if (!bytes) return ResourceEntry{id, nullptr, 0};
  return ResourceEntry{id, static_cast<const uint8_t*>(bytes),
                       static_cast<size_t>(SizeofResource(gModule, found))};
}

}  // namespace platform
