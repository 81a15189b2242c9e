// The parameters as a wrapper for another plug-in format sees them: every
// value is its own 0..1 setting, the switches are on from 0.5 up, and the
// two-way selectors carry the names of their two positions.
#include <cstdio>
#include <cstring>

#include "platform/vst2/parameter_description.h"
#include "vortan/shell/vortan.h"

namespace vortan {
namespace {

struct Positions {
  int param;
  const char* off;
  const char* on;
};
constexpr Positions kSelectors[] = {
    {kChannel, "A", "B"},
    {kCleanCrunch, "Clean", "Crunch"},
    {kLowHighGain, "Low Gain", "High Gain"},
    {kChaOpenFocus, "Open", "Focus"},
    {kChbOpenFocus, "Open", "Focus"},
    {kMonoStereo, "Mono", "Stereo"},
    {kQuality, "LOW", "HIGH"},
};

}  // namespace

intptr_t Vortan::vendorSpecific(int32_t index, intptr_t value, void* ptr, float) noexcept {
  if (!ptr || value < 0 || value >= kNumParams) return 0;
  const int param = static_cast<int>(value);
  const bool isSwitch = ParamInfoOf(param).isSwitch;
  switch (index) {
    case vst2::kVendorDescribeParameter: {
      auto* d = static_cast<vst2::ParameterDescription*>(ptr);
      std::memset(d, 0, sizeof *d);
      d->minimum = 0.0;
      d->maximum = 1.0;
      // A new instance starts with the values of its first program.
      const float current = getParameter(param);
      d->defaultValue = isSwitch ? (SwitchIsOn(current) ? 1.0 : 0.0) : current;
      d->kind = isSwitch ? vst2::kParameterToggle : vst2::kParameterContinuous;
      for (const Positions& p : kSelectors) {
        if (p.param != param) continue;
        d->kind = vst2::kParameterEnumeration;
        d->stepTextCount = 2;
        std::snprintf(d->stepTexts[0], sizeof d->stepTexts[0], "%s", p.off);
        std::snprintf(d->stepTexts[1], sizeof d->stepTexts[1], "%s", p.on);
      }
      return vst2::kVendorHandled;
    }
    case vst2::kVendorPlainToNormalized:
    case vst2::kVendorNormalizedToPlain: {
      double* v = static_cast<double*>(ptr);
      if (!(*v >= 0.0)) *v = 0.0;  // NaN too
      if (*v > 1.0) *v = 1.0;
      if (isSwitch) *v = SwitchIsOn(static_cast<float>(*v)) ? 1.0 : 0.0;
      return vst2::kVendorHandled;
    }
    default:
      return 0;
  }
}

}  // namespace vortan
