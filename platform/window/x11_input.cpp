#include "platform/window/x11_input.h"

#include <X11/Xutil.h>
#include <X11/keysym.h>

#include <cstdint>
#include <cstdlib>

namespace platform {
namespace {

// UTF-8 of a code point into out (at least 5 bytes), zero-terminated.
void EncodeUtf8(unsigned long c, char* out) {
  if (c < 0x80) {
    out[0] = static_cast<char>(c), out[1] = 0;
  } else if (c < 0x800) {
    out[0] = static_cast<char>(0xC0 | (c >> 6));
    out[1] = static_cast<char>(0x80 | (c & 0x3F)), out[2] = 0;
  } else if (c < 0x10000) {
    out[0] = static_cast<char>(0xE0 | (c >> 12));
    out[1] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[2] = static_cast<char>(0x80 | (c & 0x3F)), out[3] = 0;
  } else {
    out[0] = static_cast<char>(0xF0 | (c >> 18));
    out[1] = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    out[2] = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    out[3] = static_cast<char>(0x80 | (c & 0x3F)), out[4] = 0;
  }
}

}  // namespace

Modifiers ModifiersFromState(unsigned int state) noexcept {
  Modifiers m;
  m.left = (state & Button1Mask) != 0;
  m.middle = (state & Button2Mask) != 0;
  m.right = (state & Button3Mask) != 0;
  m.shift = (state & ShiftMask) != 0;
  m.control = (state & ControlMask) != 0;
  m.alt = (state & Mod1Mask) != 0;
  return m;
}

void TranslateKey(XKeyEvent* key, Event* out) noexcept {
  char latin1[8] = {};
  KeySym sym = NoSymbol;
  XLookupString(key, latin1, sizeof latin1 - 1, &sym, nullptr);
  out->mods = ModifiersFromState(key->state);
  out->text[0] = 0;
  switch (sym) {
    case XK_BackSpace:
      out->key = Key::kBackspace;
      return;
    case XK_Tab:
      out->key = Key::kTab;
      return;
    case XK_Return:
    case XK_KP_Enter:
      out->key = Key::kEnter;
      return;
    case XK_Escape:
      out->key = Key::kEscape;
      return;
    case XK_Delete:
    case XK_KP_Delete:
      out->key = Key::kDelete;
      return;
    case XK_Left:
    case XK_KP_Left:
      out->key = Key::kLeft;
      return;
    case XK_Right:
    case XK_KP_Right:
      out->key = Key::kRight;
      return;
    case XK_Up:
    case XK_KP_Up:
      out->key = Key::kUp;
      return;
    case XK_Down:
    case XK_KP_Down:
      out->key = Key::kDown;
      return;
    case XK_Home:
    case XK_KP_Home:
      out->key = Key::kHome;
      return;
    case XK_End:
    case XK_KP_End:
      out->key = Key::kEnd;
      return;
    case XK_Page_Up:
    case XK_KP_Page_Up:
      out->key = Key::kPageUp;
      return;
    case XK_Page_Down:
    case XK_KP_Page_Down:
      out->key = Key::kPageDown;
      return;
    case XK_Shift_L:
    case XK_Shift_R:
      out->key = Key::kShift;
      return;
    case XK_Control_L:
    case XK_Control_R:
      out->key = Key::kControl;
      return;
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
      out->key = Key::kAlt;
      return;
    default:
      break;
  }
  // Printable keys: Latin-1 keysyms are their code points; newer keysyms
  // carry the code point in their low bits.
  unsigned long code = 0;
  if ((sym >= 0x20 && sym <= 0x7E) || (sym >= 0xA0 && sym <= 0xFF)) {
    code = static_cast<unsigned long>(sym);
  } else if ((sym & 0xFF000000UL) == 0x01000000UL) {
    code = static_cast<unsigned long>(sym) & 0x00FFFFFFUL;
  } else if (sym >= XK_KP_0 && sym <= XK_KP_9) {
    code = '0' + static_cast<unsigned long>(sym - XK_KP_0);
  } else if (sym == XK_KP_Decimal) {
    code = '.';
  } else if (sym == XK_KP_Subtract) {
    code = '-';
  } else if (sym == XK_KP_Add) {
    code = '+';
  }
  if (code != 0 && code <= 0x10FFFF && !(code >= 0xD800 && code <= 0xDFFF)) {
    out->key = Key::kCharacter;
    EncodeUtf8(code, out->text);
  } else {
    out->key = Key::kOther;
  }
}

bool DoubleClickDetector::Press(MouseButton button, int x, int y, unsigned long time_ms) noexcept {
  // Server time is a 32-bit millisecond count that wraps.
  const uint32_t elapsed = static_cast<uint32_t>(time_ms - time_);
  const bool doubled = button == button_ && elapsed <= kTimeMs && std::abs(x - x_) <= kDistance &&
                       std::abs(y - y_) <= kDistance;
  if (doubled) {
    button_ = MouseButton::kNone;
    return true;
  }
  button_ = button;
  x_ = x;
  y_ = y;
  time_ = time_ms;
  return false;
}

}  // namespace platform
