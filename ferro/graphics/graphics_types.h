// Plain value records the graphics layer and its controls exchange: rectangles,
// colours, blends, mouse modifiers, text styles and film-strip bitmaps.
#pragma once

#include "platform/image/image.h"

// Left and top inclusive, right and bottom exclusive, in window pixels.
using IRect = platform::Rect;

// A colour with straight (not premultiplied) components, each 0..255.
struct IColor {
  int A = 255;
  int R = 0;
  int G = 0;
  int B = 0;
};

// How a control's pictures are laid over what lies beneath. The weight is used
// as opacity: 1.0 normally, 0.25 for a greyed control.
struct IBlend {
  enum EType { kBlendNone = 0, kBlendClobber, kBlendAdd, kBlendColorDodge };
  EType method = kBlendNone;
  float weight = 1.0f;
};

// Buttons and keys held during a mouse event.
struct IMouseMod {
  bool L = false;  // left button
  bool R = false;  // right button
  bool S = false;  // shift
  bool C = false;  // control
  bool A = false;  // alt
};

// A text style: the font asked for, its colour, weight and placement.
struct IText {
  enum EStyle { kStyleNormal = 0, kStyleBold = 1, kStyleItalic = 2 };
  enum EAlign { kAlignNear = 0, kAlignCenter = 1, kAlignFar = 2 };

  char font[32] = "Arial";
  int size = 12;
  IColor color{255, 0, 0, 0};
  EStyle style = kStyleNormal;
  EAlign align = kAlignCenter;
  int orientation = 0;  // degrees
};

// A vertical film strip of N equal frames; the pixels live in the process-wide
// bitmap cache and are shared by every editor instance.
struct IBitmap {
  const platform::Bitmap* image = nullptr;
  int W = 0;
  int H = 0;
  int N = 1;

  int FrameHeight() const { return N > 0 ? H / N : H; }
};
