// The Vortan editor: the 800 x 312 panel with 12 film-strip knobs, 11 on/off
// switches and 11 lamps, each bound to the parameter of its tag.
#pragma once

#include <cstdint>

#include "vortan/editor/sd_editor_layout.h"
#include "vortan/gui/aeff_gui_editor.h"
#include "vortan/gui/c_control.h"

namespace vortan {

class SDEditor : public AEffGUIEditor, public CControlListener {
 public:
  static constexpr int32_t kNumParams = 23;

  // Attaches itself to the effect as its editor (which sets the has-editor
  // flag) and loads the background, whose size is the editor's.
  explicit SDEditor(AudioEffect* effect) noexcept;
  ~SDEditor() override;

  // Host's editor thread.
  bool open(void* parentWindow) noexcept override;
  void close() noexcept override;
  // Whatever the host asks for, knobs drag vertically from now on.
  bool setKnobMode(int32_t mode) noexcept override;

  // Any thread, after the plug-in changed parameter `index`: every control
  // bound to it shows the plug-in's current value (the passed one is not
  // used: a mode recall may already have moved on).
  void setParameter(int32_t index, float value) noexcept override;

  // Window thread: the user moved a knob or clicked a switch.
  void valueChanged(CControl* control) noexcept override;

  // The control created as row `i` of kPanelControls, while open (else null).
  // For tests, on the thread that opened the editor.
  CControl* control(int i) const noexcept { return controls_[i]; }
  // The open frame, or null (tests).
  CFrame* openFrameForTest() noexcept { return frame(); }

 private:
  bool build(CFrame& frame) noexcept;
  void refreshAll() noexcept;

  SharedBitmap background_;
  // Non-owning: the frame owns the controls. Written only while no frame is
  // published, read only under frameLock() while one is.
  CControl* controls_[kPanelControlCount] = {};
};

}  // namespace vortan
