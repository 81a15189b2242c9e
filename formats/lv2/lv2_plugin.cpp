// The LV2 plug-in descriptor of a bundle: instantiation with the host's
// rate and block length, ports, run, and the state extension keeping the
// plug-in's program chunk. The bundle's URI comes from the build
// (VALVE_LV2_URI), the plug-in from the entry point linked in.
#include <lv2/atom/atom.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/core/lv2.h>
#include <lv2/options/options.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <string>

#include "formats/lv2/plugin_instance.h"
#include "formats/lv2/port_layout.h"

#ifndef VALVE_LV2_URI
#error "VALVE_LV2_URI names the bundle's plug-in"
#endif

namespace lv2layer {
namespace {

const char* const kUri = VALVE_LV2_URI;

struct Handle {
  PluginInstance* plugin;
  LV2_URID chunkKey;
  LV2_URID chunkType;
};

const LV2_Feature* FindFeature(const LV2_Feature* const* features, const char* uri) {
  for (const LV2_Feature* const* f = features; f && *f; ++f)
    if (std::strcmp((*f)->URI, uri) == 0) return *f;
  return nullptr;
}

int32_t MaxBlockLength(const LV2_Feature* const* features, LV2_URID_Map* map) {
  const LV2_Feature* f = FindFeature(features, LV2_OPTIONS__options);
  if (!f || !map) return kDefaultBlockLength;
  const LV2_URID maxKey = map->map(map->handle, LV2_BUF_SIZE__maxBlockLength);
  const LV2_URID nominalKey = map->map(map->handle, LV2_BUF_SIZE__nominalBlockLength);
  const LV2_URID intType = map->map(map->handle, LV2_ATOM__Int);
  int32_t found = 0;
  for (auto* o = static_cast<const LV2_Options_Option*>(f->data); o && o->key; ++o) {
    if (o->type != intType || !o->value) continue;
    const int32_t v = *static_cast<const int32_t*>(o->value);
    if (o->key == maxKey && v > 0) return v;
    if (o->key == nominalKey && v > 0) found = v;
  }
  return found > 0 ? found : kDefaultBlockLength;
}

LV2_Handle Instantiate(const LV2_Descriptor*, double rate, const char*,
                       const LV2_Feature* const* features) {
  const LV2_Feature* mapFeature = FindFeature(features, LV2_URID__map);
  auto* map = mapFeature ? static_cast<LV2_URID_Map*>(mapFeature->data) : nullptr;
  if (!map) return nullptr;  // required: the state keys are URIDs
  PluginInstance* plugin = PluginInstance::Create(rate, MaxBlockLength(features, map), kUri);
  if (!plugin) return nullptr;
  const std::string key = std::string(kUri) + kChunkKeySuffix;
  auto* h = new Handle{plugin, map->map(map->handle, key.c_str()),
                       map->map(map->handle, LV2_ATOM__Chunk)};
  return h;
}

PluginInstance* Plugin(LV2_Handle h) { return static_cast<Handle*>(h)->plugin; }

void ConnectPort(LV2_Handle h, uint32_t port, void* data) { Plugin(h)->ConnectPort(port, data); }
void Activate(LV2_Handle h) { Plugin(h)->Activate(); }
void Run(LV2_Handle h, uint32_t frames) { Plugin(h)->Run(frames); }
void Deactivate(LV2_Handle h) { Plugin(h)->Deactivate(); }
void Cleanup(LV2_Handle h) {
  auto* handle = static_cast<Handle*>(h);
  delete handle->plugin;
  delete handle;
}

LV2_State_Status Save(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle state,
                      uint32_t, const LV2_Feature* const*) {
  auto* handle = static_cast<Handle*>(h);
  vst2::AEffect* effect = handle->plugin->effect();
  void* data = nullptr;
  const intptr_t size = effect->dispatcher(effect, vst2::effGetChunk, 1, 0, &data, 0.0f);
  if (size <= 0 || !data) return LV2_STATE_ERR_UNKNOWN;
  return store(state, handle->chunkKey, data, static_cast<size_t>(size), handle->chunkType,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status Restore(LV2_Handle h, LV2_State_Retrieve_Function retrieve,
                         LV2_State_Handle state, uint32_t, const LV2_Feature* const*) {
  auto* handle = static_cast<Handle*>(h);
  size_t size = 0;
  uint32_t type = 0;
  uint32_t flags = 0;
  const void* data = retrieve(state, handle->chunkKey, &size, &type, &flags);
  if (!data) return LV2_STATE_ERR_NO_PROPERTY;
  if (type != handle->chunkType) return LV2_STATE_ERR_BAD_TYPE;
  vst2::AEffect* effect = handle->plugin->effect();
  // The plug-in reads the chunk; it may not keep our pointer, and a chunk
  // it refuses leaves it as it was.
  const intptr_t ok = effect->dispatcher(effect, vst2::effSetChunk, 1,
                                         static_cast<intptr_t>(size), const_cast<void*>(data), 0.0f);
  handle->plugin->ForgetAppliedPorts();
  return ok ? LV2_STATE_SUCCESS : LV2_STATE_ERR_UNKNOWN;
}

const void* ExtensionData(const char* uri) {
  static const LV2_State_Interface kState = {Save, Restore};
  if (std::strcmp(uri, LV2_STATE__interface) == 0) return &kState;
  return nullptr;
}

const LV2_Descriptor kDescriptor = {kUri,       Instantiate, ConnectPort, Activate, Run,
                                    Deactivate, Cleanup,     ExtensionData};

}  // namespace

PluginInstance* InstanceOfHandle(LV2_Handle h) { return h ? Plugin(h) : nullptr; }

}  // namespace lv2layer

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index) {
  return index == 0 ? &lv2layer::kDescriptor : nullptr;
}
