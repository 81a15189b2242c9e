#include "vortan/editor/sd_editor_layout.h"

namespace vortan {

const PanelImage kPanelImages[kPanelImageCount] = {
    {kBackgroundImage, 800, 312, 1},  // panel; also fixes the editor's size
    {kKnobImage, 62, 9362, kKnobFrames}, {kSwitchImage, 15, 36, 2},  // off above, on below
    {kChannelLampImage, 16, 124, 2},     {kLampImage, 16, 64, 2},
    {kSmallLampImage, 16, 32, 2},        {kQualityLampImage, 16, 64, 2},
};

const PanelImage& PanelImageOf(int id) noexcept {
  for (const PanelImage& image : kPanelImages) {
    if (image.id == id) return image;
  }
  return kPanelImages[0];
}

namespace {
constexpr ControlKind K = ControlKind::kKnob;
constexpr ControlKind S = ControlKind::kSwitch;
constexpr ControlKind L = ControlKind::kLamp;
}  // namespace

// Channel B's row (tags 12..19) lies above channel A's (4..11). Within a row
// Drive sits 128 pixels left of Low and the tone knobs are 53 pixels apart,
// so neighbouring tone knobs overlap by 9 pixels.
const PanelControl kPanelControls[kPanelControlCount] = {
    {0, K, kKnobImage, {49, 185, 111, 247}},     // Input
    {1, S, kSwitchImage, {162, 208, 177, 226}},  // Channel
    {1, L, kChannelLampImage, {162, 184, 178, 246}},
    {2, S, kSwitchImage, {253, 238, 268, 256}},  // Clean/Crunch
    {2, L, kLampImage, {268, 231, 284, 263}},
    {4, K, kKnobImage, {192, 215, 254, 277}},     // CHA Drive
    {5, K, kKnobImage, {320, 215, 382, 277}},     // CHA Low
    {6, K, kKnobImage, {373, 215, 435, 277}},     // CHA Mid
    {7, K, kKnobImage, {426, 215, 488, 277}},     // CHA High
    {8, K, kKnobImage, {479, 215, 541, 277}},     // CHA Contour
    {9, S, kSwitchImage, {547, 228, 562, 246}},   // CHA Open/Focus
    {10, S, kSwitchImage, {579, 228, 594, 246}},  // CHA Bottom
    {11, S, kSwitchImage, {611, 228, 626, 246}},  // CHA Bright
    {9, L, kSmallLampImage, {547, 245, 563, 261}},
    {10, L, kSmallLampImage, {579, 245, 595, 261}},
    {11, L, kSmallLampImage, {611, 245, 627, 261}},
    {3, S, kSwitchImage, {253, 177, 268, 195}},  // Low/High Gain
    {3, L, kLampImage, {268, 169, 284, 201}},
    {12, K, kKnobImage, {192, 153, 254, 215}},    // CHB Drive
    {13, K, kKnobImage, {320, 153, 382, 215}},    // CHB Low
    {14, K, kKnobImage, {373, 153, 435, 215}},    // CHB Mid
    {15, K, kKnobImage, {426, 153, 488, 215}},    // CHB High
    {16, K, kKnobImage, {479, 153, 541, 215}},    // CHB Contour
    {17, S, kSwitchImage, {547, 188, 562, 206}},  // CHB Open/Focus
    {18, S, kSwitchImage, {579, 188, 594, 206}},  // CHB Bottom
    {19, S, kSwitchImage, {611, 188, 626, 206}},  // CHB Bright
    {17, L, kSmallLampImage, {547, 168, 563, 184}},
    {18, L, kSmallLampImage, {579, 168, 595, 184}},
    {19, L, kSmallLampImage, {611, 168, 627, 184}},
    {20, K, kKnobImage, {632, 185, 694, 247}},    // Volume
    {22, S, kSwitchImage, {693, 238, 708, 256}},  // LowQ/HighQ
    {22, L, kQualityLampImage, {708, 231, 724, 263}},
    {21, S, kSwitchImage, {693, 176, 708, 194}},  // Mono/Stereo
    {21, L, kLampImage, {708, 169, 724, 201}},
};

}  // namespace vortan
