// The editor interface the effect base knows: the effect owns one editor and
// forwards the host's editor requests and every parameter change to it.
// Toolkit editors derive from this.
#pragma once

#include <cstdint>

#include "platform/vst2/aeffect.h"

namespace vortan {

class AudioEffect;

// A key event as the host sends it with effEditKeyDown / effEditKeyUp.
struct KeyCode {
  int32_t character;    // the ASCII character, or 0
  intptr_t virtualKey;  // the host's virtual key code, or 0
  float modifiers;      // modifier bits as the host passes them
};

class AEffEditor {
 public:
  // The editor attaches itself with effect->setEditor(this) when it wants
  // to be owned and driven by the effect.
  explicit AEffEditor(AudioEffect* effect) noexcept : effect_(effect) {}
  virtual ~AEffEditor() = default;
  AEffEditor(const AEffEditor&) = delete;
  AEffEditor& operator=(const AEffEditor&) = delete;

  // Window thread (host UI). Each returns true when it handled the request.
  virtual bool getRect(vst2::ERect** rect) noexcept = 0;
  virtual bool open(void* parentWindow) noexcept = 0;
  virtual void close() noexcept = 0;
  virtual void idle() noexcept {}
  virtual bool onKeyDown(const KeyCode& /*key*/) noexcept { return false; }
  virtual bool onKeyUp(const KeyCode& /*key*/) noexcept { return false; }
  virtual bool setKnobMode(int32_t /*mode*/) noexcept { return false; }

  // Any thread that changes a parameter: the effect has already stored the
  // value; the editor only updates what it shows.
  virtual void setParameter(int32_t /*index*/, float /*value*/) noexcept {}

 protected:
  AudioEffect* effect() const noexcept { return effect_; }

 private:
  AudioEffect* effect_;  // not owned: the effect owns the editor
};

}  // namespace vortan
