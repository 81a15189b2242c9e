// A Vortan instance with its editor opened in a headless window, and a host
// callback that records the automation the plug-in reports.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/window/window.h"
#include "vortan/editor/sd_editor.h"
#include "vortan/gui/knob_mode.h"
#include "vortan/shell/vortan.h"

namespace vortan {

class EditorFixture : public ::testing::Test {
 protected:
  using Automation = std::vector<std::pair<int32_t, float>>;

  static intptr_t VST2_CALL Host(vst2::AEffect* effect, int32_t opcode, int32_t index, intptr_t,
                                 void*, float opt) {
    if (opcode == vst2::audioMasterVersion) return 2400;
    if (opcode == vst2::audioMasterAutomate && effect) {
      auto* self = static_cast<EditorFixture*>(Current());
      std::lock_guard<std::mutex> hold(self->automationMutex);
      self->automation.emplace_back(index, opt);
    }
    return 0;
  }
  static EditorFixture*& Current() {
    static EditorFixture* current = nullptr;
    return current;
  }

  void SetUp() override {
    Current() = this;
    SetKnobMode(kCircularMode);
    plugin = new Vortan(&Host);
    effect = plugin->getAeffect();
    editor = dynamic_cast<SDEditor*>(plugin->getEditor());
    ASSERT_NE(editor, nullptr) << "the plug-in creates its editor";
    editor->setWindowFactory([this](const platform::WindowConfig& c, platform::WindowListener* l) {
      auto w = std::make_unique<platform::HeadlessWindow>(c, l);
      window = w.get();
      return std::unique_ptr<platform::Window>(std::move(w));
    });
  }
  void TearDown() override {
    if (effect) effect->dispatcher(effect, vst2::effClose, 0, 0, nullptr, 0.0f);
    SetKnobMode(kCircularMode);
    Current() = nullptr;
  }

  bool Open() { return effect->dispatcher(effect, vst2::effEditOpen, 0, 0, nullptr, 0.0f) == 1; }
  void Close() { effect->dispatcher(effect, vst2::effEditClose, 0, 0, nullptr, 0.0f); }
  void SetParameter(int32_t index, float value) { effect->setParameter(effect, index, value); }
  float GetParameter(int32_t index) { return effect->getParameter(effect, index); }

  // The first control of the panel bound to `tag` of the given kind.
  CControl* ControlOf(int32_t tag, ControlKind kind) {
    for (int i = 0; i < kPanelControlCount; ++i) {
      if (kPanelControls[i].tag == tag && kPanelControls[i].kind == kind) {
        return editor->control(i);
      }
    }
    return nullptr;
  }
  const CRect& RectOf(int32_t tag, ControlKind kind) {
    for (const PanelControl& row : kPanelControls) {
      if (row.tag == tag && row.kind == kind) return row.rect;
    }
    return kPanelControls[0].rect;
  }

  void Click(int x, int y) {
    window->Send(Mouse(platform::EventType::kMouseDown, x, y, true));
    window->Send(Mouse(platform::EventType::kMouseUp, x, y, false));
  }
  static platform::Event Mouse(platform::EventType type, int x, int y, bool held) {
    platform::Event e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = type == platform::EventType::kMouseMove ? platform::MouseButton::kNone
                                                       : platform::MouseButton::kLeft;
    e.mods.left = held;
    return e;
  }
  Automation TakeAutomation() {
    std::lock_guard<std::mutex> hold(automationMutex);
    return std::move(automation);
  }

  Vortan* plugin = nullptr;
  vst2::AEffect* effect = nullptr;
  SDEditor* editor = nullptr;
  platform::HeadlessWindow* window = nullptr;
  std::mutex automationMutex;
  Automation automation;
};

}  // namespace vortan
