// An IPlug_Ferro instance opened as a host would (effOpen), with its editor in
// a headless window: the test's thread plays the window thread, sends mouse
// and key events and ticks the repaint timer. The host callback records the
// automation and begin/end notices the plug-in reports.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <mutex>
#include <vector>

#include "ferro/editor/ferro_editor.h"
#include "ferro/shell/iplug_ferro.h"
#include "platform/vst2/aeffect.h"
#include "platform/window/window.h"

struct RecordedCall {
  int32_t opcode;
  int32_t index;
  float opt;
};

class RecordingHost {
 public:
  static intptr_t VST2_CALL Callback(vst2::AEffect*, int32_t opcode, int32_t index, intptr_t, void*,
                                     float opt) {
    std::lock_guard<std::mutex> guard(lock_);
    if (opcode == vst2::audioMasterAutomate || opcode == vst2::audioMasterBeginEdit ||
        opcode == vst2::audioMasterEndEdit)
      calls_.push_back({opcode, index, opt});
    return 0;
  }
  static std::vector<RecordedCall> Calls() {
    std::lock_guard<std::mutex> guard(lock_);
    return calls_;
  }
  static void Clear() {
    std::lock_guard<std::mutex> guard(lock_);
    calls_.clear();
  }

 private:
  static inline std::mutex lock_;
  static inline std::vector<RecordedCall> calls_;
};

class EditorFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    RecordingHost::Clear();
    plug_ = std::make_unique<IPlug_Ferro>(&RecordingHost::Callback);
    Dispatch(vst2::effOpen);
    editor_ = FerroEditor::Of(plug_->GetGUI());
    ASSERT_NE(editor_, nullptr);
    window_ = editor_->OpenHeadlessWindow();
    window_->Tick();
    RecordingHost::Clear();
  }
  void TearDown() override { Dispatch(vst2::effClose); }

  intptr_t Dispatch(int32_t opcode, int32_t index = 0, intptr_t value = 0, void* ptr = nullptr) {
    vst2::AEffect* effect = plug_->GetAEffect();
    if (opcode == vst2::effClose) {
      plug_.release();
      return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
    }
    return effect->dispatcher(effect, opcode, index, value, ptr, 0.0f);
  }

  double Value(int index) { return plug_->GetParam(index)->Value(); }
  void SetNormalized(int index, double v) { plug_->VSTSetParameter(index, v); }
  // The editor control bound to `index` (the first one in list order).
  IControl* ControlOf(int index) {
    for (int i = 0; i < editor_->NControls(); ++i)
      if (editor_->GetControl(i)->ParamIdx() == index) return editor_->GetControl(i);
    return nullptr;
  }

  static platform::Event Mouse(platform::EventType type, int x, int y,
                               platform::MouseButton button = platform::MouseButton::kNone) {
    platform::Event e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = button;
    return e;
  }
  void Click(int x, int y, platform::MouseButton button = platform::MouseButton::kLeft) {
    platform::Event down = Mouse(platform::EventType::kMouseDown, x, y, button);
    down.mods.left = button == platform::MouseButton::kLeft;
    down.mods.right = button == platform::MouseButton::kRight;
    window_->Send(down);
    window_->Send(Mouse(platform::EventType::kMouseUp, x, y, button));
  }
  void DoubleClick(int x, int y) {
    Click(x, y);
    platform::Event dbl =
        Mouse(platform::EventType::kDoubleClick, x, y, platform::MouseButton::kLeft);
    dbl.mods.left = true;
    window_->Send(dbl);
    window_->Send(Mouse(platform::EventType::kMouseUp, x, y, platform::MouseButton::kLeft));
  }
  // Presses at (x, y), moves by dy in `steps` equal moves, releases.
  void DragVertically(int x, int y, int dy, int steps = 1, bool shift = false) {
    platform::Event down =
        Mouse(platform::EventType::kMouseDown, x, y, platform::MouseButton::kLeft);
    down.mods.left = true;
    window_->Send(down);
    for (int i = 1; i <= steps; ++i) {
      platform::Event move = Mouse(platform::EventType::kMouseMove, x, y + dy * i / steps);
      move.mods.left = true;
      move.mods.shift = shift;
      window_->Send(move);
    }
    window_->Send(Mouse(platform::EventType::kMouseUp, x, y + dy, platform::MouseButton::kLeft));
  }
  void Hover(int x, int y) { window_->Send(Mouse(platform::EventType::kMouseMove, x, y)); }
  void Wheel(int x, int y, int notches, bool shift = false) {
    platform::Event e = Mouse(platform::EventType::kWheel, x, y);
    e.wheel_delta = 120 * notches;
    e.mods.shift = shift;
    window_->Send(e);
  }
  void Key(platform::Key key, const char* text = "") {
    platform::Event e;
    e.type = platform::EventType::kKeyDown;
    e.key = key;
    std::snprintf(e.text, sizeof e.text, "%s", text);
    window_->Send(e);
  }
  void Type(const char* text) {
    for (const char* p = text; *p; ++p) {
      const char one[2] = {*p, 0};
      Key(platform::Key::kCharacter, one);
    }
  }
  // The presented window pixel (premultiplied RGBA; the window is opaque).
  const uint8_t* Pixel(int x, int y) { return window_->presented().At(x, y); }

  std::unique_ptr<IPlug_Ferro> plug_;
  FerroEditor* editor_ = nullptr;
  platform::HeadlessWindow* window_ = nullptr;
};
