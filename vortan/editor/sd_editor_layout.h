// What the Vortan panel is made of: its images by resource id with their
// sizes and frame layouts, and its 34 controls in creation order (later ones
// are drawn over earlier ones). Rectangles are left, top, right, bottom in
// panel pixels; each is one frame of the control's image.
#pragma once

#include <cstdint>

#include "vortan/gui/c_view.h"

namespace vortan {

struct PanelImage {
  int id;
  int width;
  int height;
  int frames;  // stacked vertically
};

enum class ControlKind { kKnob, kSwitch, kLamp };

struct PanelControl {
  int32_t tag;  // the parameter index
  ControlKind kind;
  int imageId;
  CRect rect;
};

constexpr int kPanelWidth = 800;
constexpr int kPanelHeight = 312;

constexpr int kBackgroundImage = 1;
constexpr int kKnobImage = 2;
constexpr int kSwitchImage = 4;
constexpr int kChannelLampImage = 7;
constexpr int kLampImage = 8;
constexpr int kSmallLampImage = 9;
constexpr int kQualityLampImage = 10;
constexpr int kKnobFrames = 151;

constexpr int kPanelImageCount = 7;
extern const PanelImage kPanelImages[kPanelImageCount];
// The image of this id (the background when the id is not one of the panel's).
const PanelImage& PanelImageOf(int id) noexcept;

constexpr int kPanelControlCount = 34;
extern const PanelControl kPanelControls[kPanelControlCount];

}  // namespace vortan
