// Creation, set-up and warm-up of the two amplifier engines.
#include "ferro/shell/iplug_ferro.h"

void IPlug_Ferro::SetUpEngines() {
  // The engines are created here, set up for host rate x oversampling factor
  // and settled on zero samples before the first block.
}
