#include "ferro/model/halfband_filter.h"

namespace Ostra {

// Order 12, steep transition (0.245 to 0.255 of the input rate), stage 1 first.
const double HalfbandFilter::kSteepBranchA[kStagesPerBranch] = {
    0.036681502163648017, 0.2746317593794541, 0.5610989697879195,
    0.769741833862266,    0.8922608180038789, 0.962094548378084};
const double HalfbandFilter::kSteepBranchB[kStagesPerBranch] = {
    0.13654762463195771, 0.42313861743656667, 0.6775400499741616,
    0.839889624849638,   0.9315419599631839,  0.9878163707328971};

HalfbandFilter::HalfbandFilter() noexcept
    : branch_a_(kSteepBranchA, kStagesPerBranch), branch_b_(kSteepBranchB, kStagesPerBranch) {}

}  // namespace Ostra
