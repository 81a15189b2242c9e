// amprig's window: the amplifier's own editor in a top-level X11 window, and
// under it a strip drawn in software (the editors' text renderer) with the
// input and output meters, the tuner, the cabinet and the two levels. All of
// it runs on the control thread: Show draws, TakeRequest reads the mouse.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "host/amprig/status_line.h"
#include "platform/vst2/aeffect.h"

namespace amprig {

class RigWindow {
 public:
  // What a click in the strip asks the rig to do.
  struct Request {
    enum Kind { kCabinet, kInputGain, kOutputLevel } kind = kCabinet;
    std::string cab;  // kCabinet: the next built-in cabinet
    double db = 0.0;  // kInputGain, kOutputLevel: the new level
  };

  static constexpr int kStripHeight = 64;

  // Null with *error empty when there is no display ($DISPLAY unset), with
  // *error set when the display or the editor cannot be opened.
  static std::unique_ptr<RigWindow> Open(vst2::AEffect* effect, std::string* error);
  ~RigWindow();  // closes the editor, then the window
  RigWindow(const RigWindow&) = delete;
  RigWindow& operator=(const RigWindow&) = delete;

  // Handles the window's events; true with *request for each click that asks
  // for a change. closed() turns true when the user closes the window.
  bool TakeRequest(Request* request);
  bool closed() const { return closed_; }
  void Show(const RigStatus& status, const std::string& cab, double gainDb, double outDb);

  // The strip's pixels as last drawn (RGBA, premultiplied), for tests.
  const std::vector<uint8_t>& strip() const { return strip_; }
  int width() const { return width_; }
  unsigned long windowId() const { return window_; }

 private:
  RigWindow() = default;
  void Present();

  struct Impl;
  vst2::AEffect* effect_ = nullptr;
  void* display_ = nullptr;  // Display*
  unsigned long window_ = 0;
  unsigned long deleteAtom_ = 0;
  int width_ = 0, editorHeight_ = 0;
  bool editorOpen_ = false, closed_ = false;
  std::vector<uint8_t> strip_;
  std::vector<uint32_t> presented_;
  void* image_ = nullptr;    // XImage*
  std::string cab_;
  double gainDb_ = 0.0, outDb_ = 0.0;
};

}  // namespace amprig
