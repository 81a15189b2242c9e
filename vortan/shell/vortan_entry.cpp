#include "vortan/shell/vortan_entry.h"

#include <new>

#include "vortan/shell/vortan.h"

namespace vortan {

vst2::AEffect* CreateVortanEffect(vst2::HostCallback audioMaster) noexcept {
  if (!audioMaster) return nullptr;
  if (audioMaster(nullptr, vst2::audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
  // The plug-in raises nothing itself; a failed allocation anywhere in the
  // construction must still reach the host as null, not as an exception
  // crossing the C interface.
  try {
    Vortan* effect = new (std::nothrow) Vortan(audioMaster);
    return effect ? effect->getAeffect() : nullptr;
  } catch (...) {
    return nullptr;
  }
}

}  // namespace vortan
