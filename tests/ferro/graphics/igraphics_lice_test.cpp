// The graphics layer on its own: which control gets the mouse, what the
// plug-in and host hear of a gesture, what a repaint draws, and closing while
// the window thread waits for the instance lock.
#include "ferro/graphics/igraphics_lice.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "ferro/graphics/bitmap_cache.h"
#include "ferro_resources.h"
#include "tests/ferro/graphics/test_plug.h"

namespace {

using platform::Event;
using platform::EventType;
using platform::MouseButton;

// A control that paints its rectangle from a solid bitmap and counts calls.
class ProbeControl : public IControl {
 public:
  ProbeControl(IPlugBase* plug, const IRect& r, int param, const IBitmap& look)
      : IControl(plug, r, param), look_(look) {}
  void OnMouseDown(int, int, const IMouseMod&) override {
    ++downs;
    value_ = 1.0 - value_;
    MarkChanged(true);
  }
  void OnMouseDrag(int, int, int, int dY, const IMouseMod&) override {
    ++drags;
    value_ -= dY / 100.0;
    MarkChanged(true);
  }
  bool Draw(IGraphicsLice* g) override {
    ++draws;
    return g->DrawBitmap(look_, rect_, 1, &DrawnBlend());
  }
  int downs = 0, drags = 0, draws = 0;

 private:
  IBitmap look_;
};

class GraphicsLayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    white_.Fill(255, 255, 255, 255);
    look_.image = &white_;
    look_.W = look_.H = 20;
    graphics_ = std::make_unique<IGraphicsLice>(&plug_, 100, 60);
    black_.Fill(0, 0, 0, 255);
    IBitmap back;
    back.image = &black_;
    back.W = 100;
    back.H = 60;
    graphics_->AttachBackground(back);
    under_ = Add(IRect{10, 10, 40, 40}, 0);
    over_ = Add(IRect{20, 20, 50, 50}, 1);
    hidden_ = Add(IRect{0, 0, 60, 60}, -1);
    hidden_->SetHidden(true);
    window_ = graphics_->OpenHeadlessWindow();
    window_->Tick();
  }
  ProbeControl* Add(const IRect& r, int param) {
    auto* c = new ProbeControl(&plug_, r, param, look_);
    graphics_->AttachControl(c);
    return c;
  }
  void Send(EventType type, int x, int y, MouseButton b = MouseButton::kNone, bool held = false) {
    Event e;
    e.type = type;
    e.x = x;
    e.y = y;
    e.button = b;
    e.mods.left = held && b != MouseButton::kRight;
    e.mods.right = b == MouseButton::kRight;
    window_->Send(e);
  }

  TestPlug plug_;
  platform::Bitmap white_{20, 20}, black_{100, 60};
  IBitmap look_;
  std::unique_ptr<IGraphicsLice> graphics_;
  ProbeControl *under_ = nullptr, *over_ = nullptr, *hidden_ = nullptr;
  platform::HeadlessWindow* window_ = nullptr;
};

TEST_F(GraphicsLayerTest, TopmostVisibleUngreyedControlTakesTheClick) {
  Send(EventType::kMouseDown, 30, 30, MouseButton::kLeft, true);
  Send(EventType::kMouseUp, 30, 30, MouseButton::kLeft);
  EXPECT_EQ(over_->downs, 1);
  EXPECT_EQ(under_->downs, 0);
  EXPECT_EQ(hidden_->downs, 0);
  // The value changes in the plug-in first; the host hears of it, with the
  // instance lock released, before the begin notice.
  const std::vector<std::string> expected = {"change 1", "automate 1", "begin 1", "end 1"};
  EXPECT_EQ(plug_.log, expected);

  graphics_->GrayControlsOf(1, true);
  Send(EventType::kMouseDown, 30, 30, MouseButton::kLeft, true);
  Send(EventType::kMouseUp, 30, 30, MouseButton::kLeft);
  EXPECT_EQ(over_->downs, 1);
  EXPECT_EQ(under_->downs, 1);
}

TEST_F(GraphicsLayerTest, DragStaysWithTheControlThatGotThePress) {
  Send(EventType::kMouseDown, 15, 15, MouseButton::kLeft, true);
  Send(EventType::kMouseMove, 15, 5, MouseButton::kNone, true);
  Send(EventType::kMouseMove, 90, -20, MouseButton::kNone, true);  // far outside
  Send(EventType::kMouseUp, 90, -20, MouseButton::kLeft);
  EXPECT_EQ(under_->drags, 2);
  EXPECT_EQ(over_->drags, 0);
  EXPECT_EQ(plug_.log[1], "automate 0");  // the press toggled it
  EXPECT_EQ(plug_.log[2], "begin 0");
  EXPECT_EQ(plug_.log.back(), "end 0");
  // 10 then 25 pixels upwards, from 1.0 and clamped at the top.
  EXPECT_DOUBLE_EQ(plug_.GetParam(0)->Value(), 1.0);
  // A move without a button goes nowhere near a drag.
  Send(EventType::kMouseMove, 15, 30);
  EXPECT_EQ(under_->drags, 2);
}

TEST_F(GraphicsLayerTest, RepaintDrawsOnlyWhatTheDirtyAreaTouches) {
  const int presents = window_->present_count();
  const int underDraws = under_->draws, overDraws = over_->draws;
  window_->Tick();  // nothing changed
  EXPECT_EQ(window_->present_count(), presents);

  // A parameter change: only the bound control's area is repainted.
  graphics_->PushValueToControls(0, 0.25, true);
  EXPECT_EQ(under_->Value(), 0.25);
  window_->Tick();
  EXPECT_EQ(window_->present_count(), presents + 1);
  EXPECT_EQ(under_->draws, underDraws + 1);
  EXPECT_EQ(over_->draws, overDraws + 1);  // it overlaps that area
  EXPECT_EQ(hidden_->draws, 0);
  EXPECT_FALSE(under_->IsDirty());

  // A plain value is normalised by the parameter first.
  graphics_->PushValueToControls(1, 1.0, false);
  EXPECT_EQ(over_->Value(), 1.0);
}

TEST_F(GraphicsLayerTest, ClosingWhileTheWindowThreadWaitsForTheInstanceLockEnds) {
  // The host's thread holds the instance lock (as in effEditClose) while the
  // window thread's click wants it for the parameter change.
  plug_.Lock().Lock();
  std::atomic<bool> done{false};
  std::thread windowThread([&] {
    Event down;
    down.type = EventType::kMouseDown;
    down.x = down.y = 30;
    down.button = MouseButton::kLeft;
    down.mods.left = true;
    static_cast<platform::WindowListener&>(*graphics_).OnEvent(down);
    done = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(done);
  graphics_->CloseWindow();
  windowThread.join();
  plug_.Lock().Unlock();
  EXPECT_TRUE(done);
  EXPECT_TRUE(plug_.log.empty());  // the edit was dropped, not delivered late
}

TEST_F(GraphicsLayerTest, ClosingDuringAGestureEndsItForTheHost) {
  Send(EventType::kMouseDown, 15, 15, MouseButton::kLeft, true);
  Send(EventType::kMouseMove, 15, 10, MouseButton::kNone, true);
  graphics_->CloseWindow();
  EXPECT_EQ(plug_.log.back(), "end 0");
  const size_t n = plug_.log.size();
  graphics_->CloseWindow();  // no window: nothing more
  EXPECT_EQ(plug_.log.size(), n);
}

TEST(BitmapCacheTest, InstancesShareOneDecodedImage) {
  TestPlug a, b;
  IGraphicsLice first(&a, 10, 10), second(&b, 10, 10);
  first.SetResourceSource(&ferro::EmbeddedResources());
  second.SetResourceSource(&ferro::EmbeddedResources());
  const IBitmap one = first.LoadIBitmap(112, 2);
  const int decodes = bitmap_cache::DecodeCount();
  const IBitmap two = second.LoadIBitmap(112, 2);
  EXPECT_EQ(bitmap_cache::DecodeCount(), decodes);
  EXPECT_EQ(one.image, two.image);
  EXPECT_EQ(one.W, 12);
  EXPECT_EQ(one.H, 24);
  EXPECT_EQ(one.FrameHeight(), 12);
}

}  // namespace
