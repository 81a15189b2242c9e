// The bundle's UI: the plug-in's own editor opened in the host's parent
// window (ui:X11UI), on the DSP instance the host shares (instance-access).
// The editor reports its edits to the layer's host callback from its own
// thread; the host's idle call, on the UI thread, turns them into port
// writes inside touch gestures, so the host records them as automation.
// Port values the host sends reach the plug-in, and so its editor.
#include <X11/Xlib.h>
#include <lv2/core/lv2.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "formats/lv2/plugin_instance.h"
#include "formats/lv2/port_layout.h"

namespace lv2layer {

PluginInstance* InstanceOfHandle(LV2_Handle h);

namespace {

struct Ui {
  PluginInstance* plugin = nullptr;
  LV2UI_Write_Function write = nullptr;
  LV2UI_Controller controller = nullptr;
  const LV2UI_Touch* touch = nullptr;
  std::vector<bool> grabbed;  // inside an edit gesture the plug-in reported
};

const void* FeatureData(const LV2_Feature* const* features, const char* uri) {
  for (const LV2_Feature* const* f = features; f && *f; ++f)
    if (std::strcmp((*f)->URI, uri) == 0) return (*f)->data;
  return nullptr;
}

// The newest child of the parent: the window the editor just created in it.
uintptr_t EditorWindow(uintptr_t parent) {
  Display* display = XOpenDisplay(nullptr);
  if (!display) return parent;
  Window root = 0;
  Window up = 0;
  Window* children = nullptr;
  unsigned count = 0;
  uintptr_t found = parent;
  if (XQueryTree(display, static_cast<Window>(parent), &root, &up, &children, &count) && count)
    found = children[count - 1];
  if (children) XFree(children);
  XCloseDisplay(display);
  return found;
}

LV2UI_Handle Instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*,
                         LV2UI_Write_Function write, LV2UI_Controller controller,
                         LV2UI_Widget* widget, const LV2_Feature* const* features) {
  auto* handle = const_cast<void*>(FeatureData(features, LV2_INSTANCE_ACCESS_URI));
  const void* parent = FeatureData(features, LV2_UI__parent);
  PluginInstance* plugin = InstanceOfHandle(handle);
  if (!plugin || !parent || !pluginUri || plugin->uri() != pluginUri) return nullptr;
  vst2::AEffect* effect = plugin->effect();
  if (!(effect->flags & vst2::effFlagsHasEditor) || plugin->editorOpen()) return nullptr;

  auto* ui = new Ui{plugin, write, controller,
                    static_cast<const LV2UI_Touch*>(FeatureData(features, LV2_UI__touch)),
                    std::vector<bool>(static_cast<size_t>(plugin->numParams()), false)};
  plugin->setEditorOpen(true);
  vst2::ERect* rect = nullptr;
  effect->dispatcher(effect, vst2::effEditGetRect, 0, 0, &rect, 0.0f);
  if (!effect->dispatcher(effect, vst2::effEditOpen, 0, 0, const_cast<void*>(parent), 0.0f)) {
    plugin->setEditorOpen(false);
    delete ui;
    return nullptr;
  }
  if (rect) {
    if (auto* resize = static_cast<const LV2UI_Resize*>(FeatureData(features, LV2_UI__resize)))
      resize->ui_resize(resize->handle, rect->right - rect->left, rect->bottom - rect->top);
  }
  *widget = reinterpret_cast<LV2UI_Widget>(EditorWindow(reinterpret_cast<uintptr_t>(parent)));
  return ui;
}

void Cleanup(LV2UI_Handle h) {
  auto* ui = static_cast<Ui*>(h);
  vst2::AEffect* effect = ui->plugin->effect();
  effect->dispatcher(effect, vst2::effEditClose, 0, 0, nullptr, 0.0f);
  ui->plugin->setEditorOpen(false);
  for (int32_t i = 0; i < ui->plugin->numParams(); ++i) {
    PendingEdit& p = ui->plugin->pending(i);
    p.changed.store(false);
    p.begins.store(0);
    p.ends.store(0);
  }
  delete ui;
}

// A value from the host (automation, a preset, another view): the plug-in
// takes it now, so the editor shows it even while the DSP does not run.
void PortEvent(LV2UI_Handle h, uint32_t port, uint32_t size, uint32_t format, const void* buffer) {
  auto* ui = static_cast<Ui*>(h);
  const uint32_t param = port - kFirstParameter;
  if (format != 0 || size != sizeof(float) || !buffer || port < kFirstParameter ||
      param >= static_cast<uint32_t>(ui->plugin->numParams()))
    return;
  const float value = *static_cast<const float*>(buffer);
  const auto index = static_cast<int32_t>(param);
  if (std::isnan(value) || value == ui->plugin->PlainValue(index)) return;
  double normalized = 0.0;
  vst2::AEffect* effect = ui->plugin->effect();
  if (ui->plugin->ToNormalized(index, value, &normalized))
    effect->setParameter(effect, index, static_cast<float>(normalized));
}

void Write(Ui* ui, int32_t param, float normalized) {
  double plain = 0.0;
  if (!ui->plugin->ToPlain(param, normalized, &plain)) return;
  const float value = static_cast<float>(plain);
  ui->write(ui->controller, ParameterPort(param), sizeof value, 0, &value);
}

void Touch(Ui* ui, uint32_t port, bool grabbed) {
  if (ui->touch) ui->touch->touch(ui->touch->handle, port, grabbed);
}

// An edit outside a gesture the plug-in reported (a switch that only says
// its new value) is a gesture of its own, so the host records it as the
// user's.
int Idle(LV2UI_Handle h) {
  auto* ui = static_cast<Ui*>(h);
  PluginInstance* plugin = ui->plugin;
  vst2::AEffect* effect = plugin->effect();
  effect->dispatcher(effect, vst2::effEditIdle, 0, 0, nullptr, 0.0f);
  for (int32_t i = 0; i < plugin->numParams(); ++i) {
    PendingEdit& p = plugin->pending(i);
    const uint32_t port = ParameterPort(i);
    const auto slot = static_cast<size_t>(i);
    if (p.begins.exchange(0, std::memory_order_acquire) && !ui->grabbed[slot]) {
      Touch(ui, port, true);
      ui->grabbed[slot] = true;
    }
    if (p.changed.exchange(false, std::memory_order_acquire)) {
      if (!ui->grabbed[slot]) Touch(ui, port, true);
      Write(ui, i, p.normalized.load(std::memory_order_relaxed));
      if (!ui->grabbed[slot]) Touch(ui, port, false);
    }
    if (p.ends.exchange(0, std::memory_order_acquire) && ui->grabbed[slot]) {
      Touch(ui, port, false);
      ui->grabbed[slot] = false;
    }
  }
  return 0;
}

const void* ExtensionData(const char* uri) {
  static const LV2UI_Idle_Interface kIdle = {Idle};
  if (std::strcmp(uri, LV2_UI__idleInterface) == 0) return &kIdle;
  return nullptr;
}

std::string UiUri() { return std::string(VALVE_LV2_URI) + kUiSuffix; }

}  // namespace
}  // namespace lv2layer

LV2_SYMBOL_EXPORT const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
  static const std::string uri = lv2layer::UiUri();
  static const LV2UI_Descriptor descriptor = {uri.c_str(), lv2layer::Instantiate,
                                              lv2layer::Cleanup, lv2layer::PortEvent,
                                              lv2layer::ExtensionData};
  return index == 0 ? &descriptor : nullptr;
}
