// Creation of a Vortan instance for the library's exported entry points.
#pragma once

#include "platform/vst2/aeffect.h"

namespace vortan {

// Asks the host for its VST version; returns null when the host answers 0,
// when there is no host callback or when the object cannot be created.
// Otherwise returns the new instance's record. Host's loading thread.
vst2::AEffect* CreateVortanEffect(vst2::HostCallback audioMaster) noexcept;

}  // namespace vortan
