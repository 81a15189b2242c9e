// FFTW's planner is not thread-safe: every plan made or destroyed in this
// process by the cabinet code (and the convolver's set-up, which plans) holds
// this lock, so renders on several threads can set up cabinets at once.
#pragma once

#include <mutex>

namespace cabinet {

std::mutex& FftwPlannerLock();

}  // namespace cabinet
