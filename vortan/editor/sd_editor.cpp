#include "vortan/editor/sd_editor.h"

#include <memory>

#include "vortan/gui/c_anim_knob.h"
#include "vortan/gui/c_on_off_button.h"
#include "vortan/gui/knob_mode.h"
#include "vortan/shell/audio_effect.h"
#include "vortan_resources.h"

namespace vortan {
namespace {

SharedBitmap LoadPanelImage(int id) {
  const PanelImage& image = PanelImageOf(id);
  return LoadBitmap(EmbeddedResources(), id, image.width, image.height);
}

}  // namespace

SDEditor::SDEditor(AudioEffect* effect) noexcept : AEffGUIEditor(effect) {
  effect->setEditor(this);
  try {
    background_ = LoadPanelImage(kBackgroundImage);
  } catch (...) {
    background_.reset();  // out of memory: an editor without a picture
  }
  setRect(kPanelWidth, kPanelHeight);
}

SDEditor::~SDEditor() { close(); }

bool SDEditor::build(CFrame& frame) noexcept {
  try {
    SharedBitmap images[kPanelImageCount];
    for (int i = 1; i < kPanelImageCount; ++i) images[i] = LoadPanelImage(kPanelImages[i].id);
    auto imageOf = [&](int id) -> const SharedBitmap& {
      for (int i = 1; i < kPanelImageCount; ++i) {
        if (kPanelImages[i].id == id) return images[i];
      }
      return images[0];
    };
    frame.setBackground(background_);
    for (int i = 0; i < kPanelControlCount; ++i) {
      const PanelControl& row = kPanelControls[i];
      const SharedBitmap& bitmap = imageOf(row.imageId);
      std::unique_ptr<CControl> control;
      if (row.kind == ControlKind::kKnob) {
        control = std::make_unique<CAnimKnob>(row.rect, this, row.tag, kKnobFrames,
                                              bitmap->getHeight() / kKnobFrames, bitmap);
      } else {
        control = std::make_unique<COnOffButton>(row.rect, this, row.tag, bitmap);
        if (row.kind == ControlKind::kLamp) control->setMouseEnabled(false);
      }
      control->setValue(effect()->getParameter(row.tag));
      controls_[i] = control.get();
      frame.addView(std::move(control));
    }
    // The local references go here; the controls keep theirs.
    return true;
  } catch (...) {
    return false;  // out of memory while building
  }
}

bool SDEditor::open(void* parentWindow) noexcept {
  close();
  std::unique_ptr<CFrame> frame;
  try {
    frame = std::make_unique<CFrame>(CRect{0, 0, kPanelWidth, kPanelHeight});
  } catch (...) {
    return false;
  }
  if (!build(*frame) || !openFrame(std::move(frame), parentWindow)) {
    for (CControl*& c : controls_) c = nullptr;
    return false;
  }
  // A change that arrived while the controls were being made found no frame;
  // read every value again now that one is published.
  refreshAll();
  return true;
}

void SDEditor::close() noexcept {
  closeFrame();
  for (CControl*& c : controls_) c = nullptr;
}

bool SDEditor::setKnobMode(int32_t /*mode*/) noexcept {
  SetKnobMode(kLinearMode);
  return true;
}

void SDEditor::refreshAll() noexcept {
  platform::ScopedLock hold(frameLock());
  if (!frame()) return;
  for (CControl* c : controls_) c->setValue(effect()->getParameter(c->getTag()));
}

void SDEditor::setParameter(int32_t index, float /*value*/) noexcept {
  if (index < 0 || index >= kNumParams) return;
  platform::ScopedLock hold(frameLock());
  if (!frame()) return;  // closed: open() reads every value afresh
  const float current = effect()->getParameter(index);
  for (CControl* c : controls_) {
    if (c->getTag() == index) c->setValue(current);
  }
}

void SDEditor::valueChanged(CControl* control) noexcept {
  if (!control) return;
  const int32_t tag = control->getTag();
  if (tag < 0 || tag >= kNumParams) return;
  effect()->setParameterAutomated(tag, control->getValue());
  control->setDirty();
}

}  // namespace vortan
