// This project's own extension of the VST 2.4 dispatcher, through
// effVendorSpecific: what a parameter is in its own units (range, default,
// kind, the texts of its steps) and the plug-in's own mapping between those
// units and the normalised 0..1 value of setParameter. A wrapper for another
// plug-in format (formats/lv2) describes and drives a plug-in through it
// without knowing which plug-in it is. A plug-in that does not know an index
// answers 0.
#pragma once

#include <cstdint>

namespace vst2 {

// effVendorSpecific `index` values ("VPds", "VPnm", "VPpl").
constexpr int32_t kVendorDescribeParameter = 0x56506473;  // value: parameter, ptr: ParameterDescription*
constexpr int32_t kVendorPlainToNormalized = 0x56506e6d;  // value: parameter, ptr: double* in/out
constexpr int32_t kVendorNormalizedToPlain = 0x5650706c;  // value: parameter, ptr: double* in/out
// The answer of a plug-in that handled one of the requests above.
constexpr intptr_t kVendorHandled = 0x56504f4b;  // "VPOK"

enum ParameterKind : int32_t {
  kParameterContinuous = 0,
  kParameterInteger = 1,      // whole numbers from minimum to maximum
  kParameterToggle = 2,       // 0 off, 1 on
  kParameterEnumeration = 3,  // whole numbers, each with a text (stepTexts)
};

struct ParameterDescription {
  static constexpr int kMaxStepTexts = 8;
  static constexpr int kTextLength = 32;  // bytes, terminator included

  double minimum;
  double maximum;
  double defaultValue;  // in the parameter's own units
  int32_t kind;         // ParameterKind
  int32_t stepTextCount;
  char unit[kTextLength];                        // "V", "" ...
  char stepTexts[kMaxStepTexts][kTextLength];    // for minimum, minimum + 1, ...
};

}  // namespace vst2
