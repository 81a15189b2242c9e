// The ports every bundle of this layer has, in index order: the stereo pair
// in and out, the latency report, then one control input per parameter of
// the plug-in in the plug-in's own parameter order.
#pragma once

#include <cstdint>

namespace lv2layer {

constexpr uint32_t kAudioInLeft = 0;
constexpr uint32_t kAudioInRight = 1;
constexpr uint32_t kAudioOutLeft = 2;
constexpr uint32_t kAudioOutRight = 3;
constexpr uint32_t kLatency = 4;
constexpr uint32_t kFirstParameter = 5;

constexpr uint32_t ParameterPort(int32_t param) { return kFirstParameter + static_cast<uint32_t>(param); }

// The state key under which the plug-in's program chunk is kept, relative
// to the plug-in's URI.
constexpr const char* kChunkKeySuffix = "#programChunk";
// The UI's URI, relative to the plug-in's URI.
constexpr const char* kUiSuffix = "#ui";
// A host that names no maximum block gets this block size.
constexpr int32_t kDefaultBlockLength = 4096;

}  // namespace lv2layer
