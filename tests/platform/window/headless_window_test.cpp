// The headless backend: the listener contract and presenting dirty areas.
#include <gtest/gtest.h>

#include <vector>

#include "platform/window/window.h"

namespace {

class Listener : public platform::WindowListener {
 public:
  void OnOpen(platform::Window& window) override { window_ = &window; }
  void OnTimer() override {
    ++ticks;
    if (window_ != nullptr) window_->Present(frame.view(), dirty);
  }
  void OnEvent(const platform::Event& e) override { events.push_back(e); }

  platform::Window* window_ = nullptr;
  platform::Bitmap frame{8, 6};
  platform::Rect dirty{0, 0, 8, 6};
  int ticks = 0;
  std::vector<platform::Event> events;
};

TEST(HeadlessWindow, OpensTheListenerAndPresentsOnlyTheDirtyArea) {
  Listener listener;
  platform::WindowConfig config;
  config.width = 8;
  config.height = 6;
  platform::HeadlessWindow window(config, &listener);
  ASSERT_EQ(listener.window_, &window);

  listener.frame.Fill(10, 20, 30, 255);
  window.Tick();
  EXPECT_EQ(window.presented().At(7, 5)[0], 10);

  listener.frame.Fill(99, 99, 99, 255);
  listener.dirty = platform::Rect{2, 1, 4, 3};
  window.Tick();
  EXPECT_EQ(window.presented().At(2, 1)[0], 99);
  EXPECT_EQ(window.presented().At(3, 2)[0], 99);
  EXPECT_EQ(window.presented().At(4, 2)[0], 10);
  EXPECT_EQ(window.presented().At(3, 3)[0], 10);

  // Areas reaching past the window are clipped, not written out of bounds.
  listener.dirty = platform::Rect{-5, -5, 100, 100};
  listener.frame.Fill(1, 1, 1, 255);
  window.Tick();
  EXPECT_EQ(window.presented().At(0, 0)[0], 1);
  EXPECT_EQ(listener.ticks, 3);
  EXPECT_EQ(window.present_count(), 3);

  platform::Event e;
  e.type = platform::EventType::kWheel;
  e.wheel_delta = -120;
  window.Send(e);
  ASSERT_EQ(listener.events.size(), 1u);
  EXPECT_EQ(listener.events[0].wheel_delta, -120);
}

}  // namespace
