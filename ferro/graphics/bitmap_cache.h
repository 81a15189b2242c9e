// The process-wide cache of decoded editor images, by resource identifier.
// Every editor instance of the library shares one decoded copy of each image;
// the copies live until the library is unloaded.
#pragma once

#include "platform/image/image.h"
#include "platform/resources/resources.h"

namespace bitmap_cache {

// The decoded image `id` of `source`, decoded on first use (set-up code; any
// thread). A missing or broken image is a programming error: an assertion in
// a debug build, an empty bitmap otherwise.
const platform::Bitmap& Get(const platform::ResourceSource& source, int id);

// How many images have been decoded in this process (for tests).
int DecodeCount();

}  // namespace bitmap_cache
