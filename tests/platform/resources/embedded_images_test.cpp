// Every committed editor image is embedded, found by its id, decodes, and
// has the size and frame layout the editors cut it into.
#include <gtest/gtest.h>

#include <set>

#include "ferro_art_resources.h"
#include "platform/image/image.h"
#include "platform/resources/resources.h"
#include "vortan_art_resources.h"

namespace {

struct Expected {
  int id;
  int width;
  int height;
  int frames;  // 0: the frame layout is ours to choose (image the editor never loads)
  int frame_height;
};

// Ferro: film strips of N equal frames stacked vertically.
const Expected kFerro[] = {
    {103, 834, 278, 1, 278}, {101, 74, 5994, 81, 74}, {100, 24, 48, 2, 24}, {105, 20, 40, 2, 20},
    {106, 20, 40, 2, 20},    {107, 484, 138, 1, 138}, {111, 60, 20, 2, 10}, {114, 24, 1464, 61, 24},
    {112, 12, 24, 2, 12},    {108, 50, 3050, 0, 0},   {109, 50, 150, 0, 0}, {110, 50, 200, 0, 0},
    {113, 75, 720, 0, 0},    {115, 20, 40, 0, 0},
};

const Expected kVortan[] = {
    {1, 800, 312, 1, 312}, {2, 62, 9362, 151, 62}, {4, 15, 36, 2, 18},  {7, 16, 124, 2, 62},
    {8, 16, 64, 2, 32},    {9, 16, 32, 2, 16},     {10, 16, 64, 2, 32}, {3, 33, 3333, 0, 0},
    {5, 16, 16, 0, 0},     {6, 16, 16, 0, 0},
};

void CheckSet(const platform::ResourceSource& source, const Expected* expected, size_t count) {
  std::set<int> ids;
  for (size_t i = 0; i < count; ++i) {
    const Expected& e = expected[i];
    SCOPED_TRACE(e.id);
    ids.insert(e.id);
    const platform::Resource r = source.Find(e.id);
    ASSERT_TRUE(r);
    platform::Bitmap bitmap;
    ASSERT_TRUE(platform::DecodePng(r.data, r.size, &bitmap));
    EXPECT_EQ(bitmap.width(), e.width);
    EXPECT_EQ(bitmap.height(), e.height);
    if (e.frames > 0) {
      EXPECT_EQ(bitmap.height() % e.frames, 0);
      EXPECT_EQ(bitmap.Frame(e.frames - 1, e.frames).height, e.frame_height);
    }
    // Artwork is drawn, not left blank: the first frame shows something.
    const platform::ConstPixelView first = bitmap.Frame(0, e.frames > 0 ? e.frames : 1);
    int visible = 0;
    for (int y = 0; y < first.height; ++y) {
      for (int x = 0; x < first.width; ++x) visible += first.At(x, y)[3] > 0 ? 1 : 0;
    }
    EXPECT_GT(visible, first.width * first.height / 10);
  }
  // Nothing embedded that the tables do not know, and a table sorted by id.
  for (size_t i = 0; i < source.count(); ++i) {
    EXPECT_TRUE(ids.count(source.entry(i).id)) << "unexpected resource " << source.entry(i).id;
    if (i > 0) {
      EXPECT_LT(source.entry(i - 1).id, source.entry(i).id);
    }
  }
  EXPECT_EQ(source.count(), count);
}

TEST(EmbeddedImages, FerroHasEveryImageAtItsSizeAndFrameLayout) {
  CheckSet(ferro_art::EmbeddedResources(), kFerro, std::size(kFerro));
}

TEST(EmbeddedImages, VortanHasEveryImageAtItsSizeAndFrameLayout) {
  CheckSet(vortan_art::EmbeddedResources(), kVortan, std::size(kVortan));
}

TEST(EmbeddedImages, UnknownIdsAreNotFoundAndTheTwoSetsAreSeparate) {
  EXPECT_FALSE(ferro_art::EmbeddedResources().Find(1));
  EXPECT_FALSE(ferro_art::EmbeddedResources().Find(-1));
  EXPECT_FALSE(vortan_art::EmbeddedResources().Find(103));
  EXPECT_FALSE(vortan_art::EmbeddedResources().Find(11));
  EXPECT_FALSE(platform::ResourceSource().Find(1));
}

TEST(EmbeddedImages, FilmStripsTurnThePointerBetweenFirstAndLastFrame) {
  // A knob's first and last frames differ: the pointer has moved.
  platform::Bitmap knob;
  const platform::Resource r = ferro_art::EmbeddedResources().Find(101);
  ASSERT_TRUE(platform::DecodePng(r.data, r.size, &knob));
  const auto first = knob.Frame(0, 81);
  const auto last = knob.Frame(80, 81);
  int differing = 0;
  for (int y = 0; y < 74; ++y) {
    for (int x = 0; x < 74; ++x) differing += first.At(x, y)[0] != last.At(x, y)[0] ? 1 : 0;
  }
  EXPECT_GT(differing, 100);
}

}  // namespace
