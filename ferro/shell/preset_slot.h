// One program slot: whether it holds a state, its name and the parameter
// state itself (the parameter values, no header).
#pragma once

#include <cstdio>

#include "ferro/shell/state_chunk.h"
#include "platform/text/utf8_cut.h"

struct IPresetSlot {
  static constexpr int kNameLength = 256;  // bytes, terminator included

  explicit IPresetSlot(int index) { std::snprintf(name, sizeof name, "- %d -", index + 1); }
  // Reads at most 255 bytes of `text`, so an unterminated host string is safe;
  // a longer name is cut before the UTF-8 character that would not fit.
  void SetName(const char* text) { platform::CopyUtf8Cut(name, text, sizeof name); }

  bool initialised = false;
  char name[kNameLength] = {};
  StateChunk chunk;
};
