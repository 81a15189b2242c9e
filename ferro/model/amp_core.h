// AmpCore: the layer between the oversampling frame and the amplifier model.
// It adds no state and no operations.
#pragma once

#include "ferro/model/ostra_core.h"

namespace Ostra {

class AmpCore : public OstraCore {
 protected:
  ~AmpCore() = default;
};

}  // namespace Ostra
