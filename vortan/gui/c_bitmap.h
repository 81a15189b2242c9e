// An image of the editor: one embedded PNG decoded into a premultiplied RGBA
// bitmap. Controls share a bitmap through std::shared_ptr, so the editor may
// drop its own reference as soon as the controls hold theirs.
#pragma once

#include <memory>
#include <utility>

#include "platform/image/image.h"
#include "platform/resources/resources.h"

namespace vortan {

class CBitmap {
 public:
  // Decodes resource `id` of `source`. The expected size is fixed data of the
  // editor: a missing or wrongly sized image is a programming error (asserted
  // in debug builds, a transparent image of that size otherwise).
  CBitmap(const platform::ResourceSource& source, int id, int expectedWidth,
          int expectedHeight) noexcept;
  // An image already in memory (tools and tests).
  explicit CBitmap(platform::Bitmap pixels, int id = 0) noexcept
      : id_(id), pixels_(std::move(pixels)) {}

  int getWidth() const noexcept { return pixels_.width(); }
  int getHeight() const noexcept { return pixels_.height(); }
  int getResourceId() const noexcept { return id_; }
  const platform::Bitmap& pixels() const noexcept { return pixels_; }

 private:
  int id_;
  platform::Bitmap pixels_;
};

using SharedBitmap = std::shared_ptr<const CBitmap>;

// Set-up code: allocates.
SharedBitmap LoadBitmap(const platform::ResourceSource& source, int id, int expectedWidth,
                        int expectedHeight);

}  // namespace vortan
