// A parameter as a wrapper for another plug-in format sees it: range and
// default in the parameter's own units, kind, step texts, and the same
// plain <-> normalised mapping the host's setParameter goes through.
#include <cstdio>
#include <cstring>

#include "ferro/shell/iplug_vst.h"
#include "platform/vst2/parameter_description.h"

intptr_t IPlugVST::AnswerParameterRequest(int32_t request, intptr_t paramIdx, void* ptr) {
  if (!ptr || paramIdx < 0 || paramIdx >= NParams()) return 0;
  const int idx = static_cast<int>(paramIdx);
  const IParameter* param = GetParam(idx);
  switch (request) {
    case vst2::kVendorDescribeParameter: {
      auto* d = static_cast<vst2::ParameterDescription*>(ptr);
      std::memset(d, 0, sizeof *d);
      d->minimum = param->Min();
      d->maximum = param->Max();
      d->defaultValue = param->DefaultValue();
      switch (param->kind()) {
        case IParameter::kTypeDouble:
          d->kind = vst2::kParameterContinuous;
          break;
        case IParameter::kTypeBool:
          d->kind = vst2::kParameterToggle;
          break;
        default:
          d->kind = param->Min() == 0.0 && param->Max() == 1.0 ? vst2::kParameterToggle
                                                               : vst2::kParameterInteger;
          break;
      }
      if (param->kind() == IParameter::kTypeInt) {
        const int steps = static_cast<int>(param->Max() - param->Min()) + 1;
        int named = 0;
        while (named < steps && named < vst2::ParameterDescription::kMaxStepTexts &&
               StepName(idx, named))
          ++named;
        if (named == steps) {
          d->kind = vst2::kParameterEnumeration;
          d->stepTextCount = named;
          for (int s = 0; s < named; ++s) {
            const char* text = StepName(idx, s);
            std::snprintf(d->stepTexts[s], sizeof d->stepTexts[s], "%s", text ? text : "");
          }
        }
      }
      if (std::strcmp(param->Label(), "Volt") == 0)
        std::snprintf(d->unit, sizeof d->unit, "V");
      return vst2::kVendorHandled;
    }
    case vst2::kVendorPlainToNormalized: {
      double* v = static_cast<double*>(ptr);
      *v = param->NormalizeValue(*v);
      return vst2::kVendorHandled;
    }
    case vst2::kVendorNormalizedToPlain: {
      double* v = static_cast<double*>(ptr);
      *v = param->PlainForNormalized(*v);
      return vst2::kVendorHandled;
    }
    default:
      return 0;
  }
}
