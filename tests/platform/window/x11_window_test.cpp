// The X11 child window in a real (virtual) X server: it appears inside a
// parent window, shows what it presents, receives clicks, wheel and keys at
// the right coordinates, survives its parent being destroyed first, and
// opens and closes many times without leaking threads, connections or
// windows.
// GoogleTest before Xlib: Xlib defines macros (None, Bool) that clash with it.
// clang-format off
#include <gtest/gtest.h>
// clang-format on

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <dirent.h>

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/window/window.h"
#include "xvfb_server.h"

namespace {

using namespace std::chrono_literals;
using platform::Event;
using platform::EventType;

int CountEntries(const char* dir) {
  int n = 0;
  if (DIR* d = opendir(dir)) {
    while (readdir(d) != nullptr) ++n;
    closedir(d);
  }
  return n;
}

// Records what the window thread delivers; presents a frame on request.
class Recorder : public platform::WindowListener {
 public:
  explicit Recorder(int w, int h) : frame(w, h) {}

  void OnOpen(platform::Window& window) override {
    std::lock_guard<std::mutex> lock(mutex);
    window_ = &window;
    open_thread = std::this_thread::get_id();
  }
  void OnTimer() override {
    std::lock_guard<std::mutex> lock(mutex);
    ++ticks;
    if (present_pending) {
      window_->Present(frame.view(), dirty);
      present_pending = false;
      ++presents;
    }
    changed.notify_all();
  }
  void OnEvent(const Event& e) override {
    std::lock_guard<std::mutex> lock(mutex);
    events.push_back(e);
    if (e.type == EventType::kMouseDown) window_->RequestKeyboardFocus();
    changed.notify_all();
  }

  // Waits until pred() holds (checked under the lock) or two seconds pass.
  bool WaitFor(const std::function<bool()>& pred) {
    std::unique_lock<std::mutex> lock(mutex);
    return changed.wait_for(lock, 3s, pred);
  }
  void PresentAtNextTick(const platform::Rect& area) {
    std::lock_guard<std::mutex> lock(mutex);
    dirty = area;
    present_pending = true;
  }
  std::vector<Event> EventsOf(EventType type) {
    std::lock_guard<std::mutex> lock(mutex);
    std::vector<Event> out;
    for (const Event& e : events) {
      if (e.type == type) out.push_back(e);
    }
    return out;
  }

  std::mutex mutex;
  std::condition_variable changed;
  platform::Window* window_ = nullptr;
  std::thread::id open_thread;
  platform::Bitmap frame;
  platform::Rect dirty;
  bool present_pending = false;
  int presents = 0;
  int ticks = 0;
  std::vector<Event> events;
};

class X11WindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = testing_x11::XvfbServer::Start();
    if (server_ == nullptr) GTEST_SKIP() << "Xvfb is not available";
    display_ = XOpenDisplay(server_->display_name().c_str());
    ASSERT_NE(display_, nullptr);
    // The host's window: a top-level window somewhere on the screen.
    const int screen = DefaultScreen(display_);
    parent_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 30, 40, 400, 300, 0, 0,
                                  WhitePixel(display_, screen));
    XMapWindow(display_, parent_);
    XSync(display_, False);
  }
  void TearDown() override {
    if (display_ != nullptr) XCloseDisplay(display_);
    server_.reset();
  }

  platform::WindowConfig Config(int w, int h) const {
    platform::WindowConfig c;
    c.parent = parent_;
    c.width = w;
    c.height = h;
    c.timer_ms = 10;
    c.title = "child";
    c.display_name = server_->display_name();
    return c;
  }

  int ChildCount() {
    ::Window root = 0, parent = 0, *children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display_, parent_, &root, &parent, &children, &count) == 0) return -1;
    if (children != nullptr) XFree(children);
    return static_cast<int>(count);
  }

  // Moves the real pointer to (x, y) of window w and presses/releases buttons.
  void PointerTo(::Window w, int x, int y) {
    int rx = 0, ry = 0;
    ::Window child = 0;
    XTranslateCoordinates(display_, w, DefaultRootWindow(display_), x, y, &rx, &ry, &child);
    XTestFakeMotionEvent(display_, DefaultScreen(display_), rx, ry, CurrentTime);
    XSync(display_, False);
  }
  void Button(unsigned int button, bool press) {
    XTestFakeButtonEvent(display_, button, press ? True : False, CurrentTime);
    XSync(display_, False);
  }

  std::unique_ptr<testing_x11::XvfbServer> server_;
  Display* display_ = nullptr;
  ::Window parent_ = 0;
};

TEST_F(X11WindowTest, PresentedPixelsReachTheScreenAndOnlyTheDirtyAreaChanges) {
  constexpr int kW = 120, kH = 80;
  Recorder recorder(kW, kH);
  // A pattern with distinct values per pixel: red ramps with x, green with y.
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      uint8_t* p = recorder.frame.At(x, y);
      p[0] = static_cast<uint8_t>(x * 2), p[1] = static_cast<uint8_t>(y * 3), p[2] = 77, p[3] = 255;
    }
  }
  recorder.PresentAtNextTick(platform::Rect{0, 0, kW, kH});
  auto window = platform::CreateChildWindow(Config(kW, kH), &recorder);
  ASSERT_NE(window, nullptr);
  const ::Window child = static_cast<::Window>(window->native_handle());
  ASSERT_TRUE(recorder.WaitFor([&] { return recorder.presents == 1; }));
  EXPECT_NE(recorder.open_thread, std::this_thread::get_id());
  EXPECT_EQ(ChildCount(), 1);

  auto read_back = [&](int x, int y) {
    XImage* image = XGetImage(display_, child, x, y, 1, 1, AllPlanes, ZPixmap);
    if (image == nullptr) return std::vector<unsigned long>{};
    const unsigned long pixel = XGetPixel(image, 0, 0);
    XDestroyImage(image);
    return std::vector<unsigned long>{pixel};
  };
  auto expected = [](int r, int g, int b) {
    return std::vector<unsigned long>{static_cast<unsigned long>((r << 16) | (g << 8) | b)};
  };
  // The server may still be drawing what the other connection sent: retry briefly.
  std::vector<unsigned long> seen;
  for (int attempt = 0; attempt < 100; ++attempt) {
    seen = read_back(kW - 1, kH - 1);
    if (seen == expected((kW - 1) * 2, (kH - 1) * 3, 77)) break;
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(seen, expected((kW - 1) * 2, (kH - 1) * 3, 77));
  EXPECT_EQ(read_back(0, 0), expected(0, 0, 77));
  EXPECT_EQ(read_back(37, 21), expected(74, 63, 77));

  // Change everything, present only a 10 x 5 area at (50, 40).
  {
    std::lock_guard<std::mutex> lock(recorder.mutex);
    recorder.frame.Fill(255, 255, 255, 255);
  }
  recorder.PresentAtNextTick(platform::Rect{50, 40, 60, 45});
  ASSERT_TRUE(recorder.WaitFor([&] { return recorder.presents == 2; }));
  for (int attempt = 0; attempt < 100 && read_back(55, 42) != expected(255, 255, 255); ++attempt) {
    std::this_thread::sleep_for(10ms);
  }
  EXPECT_EQ(read_back(55, 42), expected(255, 255, 255));
  EXPECT_EQ(read_back(59, 44), expected(255, 255, 255));
  EXPECT_EQ(read_back(60, 44), expected(120, 132, 77));
  EXPECT_EQ(read_back(49, 40), expected(98, 120, 77));
}

TEST_F(X11WindowTest, ClicksWheelAndKeysArriveAtWindowCoordinates) {
  Recorder recorder(200, 100);
  auto window = platform::CreateChildWindow(Config(200, 100), &recorder);
  ASSERT_NE(window, nullptr);
  const ::Window child = static_cast<::Window>(window->native_handle());
  ASSERT_TRUE(recorder.WaitFor([&] { return recorder.ticks > 0; }));
  XSync(display_, False);

  PointerTo(child, 37, 21);
  Button(1, true);
  Button(1, false);
  ASSERT_TRUE(recorder.WaitFor([&] {
    for (const Event& e : recorder.events) {
      if (e.type == EventType::kMouseUp) return true;
    }
    return false;
  }));
  const auto downs = recorder.EventsOf(EventType::kMouseDown);
  ASSERT_EQ(downs.size(), 1u);
  EXPECT_EQ(downs[0].x, 37);
  EXPECT_EQ(downs[0].y, 21);
  EXPECT_EQ(downs[0].button, platform::MouseButton::kLeft);
  EXPECT_TRUE(downs[0].mods.left);
  const auto ups = recorder.EventsOf(EventType::kMouseUp);
  EXPECT_EQ(ups[0].x, 37);
  EXPECT_EQ(ups[0].y, 21);
  EXPECT_FALSE(recorder.EventsOf(EventType::kMouseEnter).empty());

  // The second click soon after is a double click; then a drag with the right button.
  Button(1, true);
  Button(1, false);
  Button(3, true);
  PointerTo(child, 60, 30);
  Button(3, false);
  // The wheel, one notch each way.
  Button(4, true);
  Button(4, false);
  Button(5, true);
  Button(5, false);
  ASSERT_TRUE(recorder.WaitFor([&] {
    int wheels = 0;
    for (const Event& e : recorder.events) wheels += e.type == EventType::kWheel ? 1 : 0;
    return wheels == 2;
  }));
  const auto doubles = recorder.EventsOf(EventType::kDoubleClick);
  ASSERT_EQ(doubles.size(), 1u);
  EXPECT_EQ(doubles[0].x, 37);
  bool dragged = false;
  for (const Event& e : recorder.EventsOf(EventType::kMouseMove)) {
    dragged = dragged || (e.mods.right && e.x == 60 && e.y == 30);
  }
  EXPECT_TRUE(dragged);
  const auto wheels = recorder.EventsOf(EventType::kWheel);
  EXPECT_EQ(wheels[0].wheel_delta, 120);
  EXPECT_EQ(wheels[1].wheel_delta, -120);
  EXPECT_EQ(wheels[1].x, 60);

  // A key while the window has the focus (it asked for it on the click).
  const KeyCode five = XKeysymToKeycode(display_, XK_5);
  XTestFakeKeyEvent(display_, five, True, CurrentTime);
  XTestFakeKeyEvent(display_, five, False, CurrentTime);
  XSync(display_, False);
  ASSERT_TRUE(recorder.WaitFor([&] {
    for (const Event& e : recorder.events) {
      if (e.type == EventType::kKeyUp) return true;
    }
    return false;
  }));
  const auto keys = recorder.EventsOf(EventType::kKeyDown);
  ASSERT_EQ(keys.size(), 1u);
  EXPECT_EQ(keys[0].key, platform::Key::kCharacter);
  EXPECT_STREQ(keys[0].text, "5");

  // Leaving the window.
  PointerTo(parent_, 350, 250);
  EXPECT_TRUE(recorder.WaitFor([&] {
    for (const Event& e : recorder.events) {
      if (e.type == EventType::kMouseLeave) return true;
    }
    return false;
  }));
}

TEST_F(X11WindowTest, OpensAndClosesFiftyTimesWithoutLeaks) {
  // One round first so that lazily created process state (Xlib, locale) exists.
  {
    Recorder warm(64, 64);
    auto w = platform::CreateChildWindow(Config(64, 64), &warm);
    ASSERT_NE(w, nullptr);
  }
  const int threads_before = CountEntries("/proc/self/task");
  const int fds_before = CountEntries("/proc/self/fd");
  for (int i = 0; i < 50; ++i) {
    Recorder recorder(64, 64);
    recorder.PresentAtNextTick(platform::Rect{0, 0, 64, 64});
    auto window = platform::CreateChildWindow(Config(64, 64), &recorder);
    ASSERT_NE(window, nullptr) << i;
    if (i % 5 == 0) {
      ASSERT_TRUE(recorder.WaitFor([&] { return recorder.presents == 1; })) << i;
    }
    window.reset();  // sometimes before the first tick, sometimes after
  }
  EXPECT_EQ(CountEntries("/proc/self/task"), threads_before);
  EXPECT_EQ(CountEntries("/proc/self/fd"), fds_before);
  XSync(display_, False);
  EXPECT_EQ(ChildCount(), 0);
}

TEST_F(X11WindowTest, SurvivesTheHostDestroyingItsWindowFirst) {
  Recorder recorder(100, 50);
  auto window = platform::CreateChildWindow(Config(100, 50), &recorder);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(recorder.WaitFor([&] { return recorder.ticks > 0; }));
  XDestroyWindow(display_, parent_);
  XSync(display_, False);
  ASSERT_TRUE(recorder.WaitFor([&] {
    for (const Event& e : recorder.events) {
      if (e.type == EventType::kClosed) return true;
    }
    return false;
  }));
  int ticks_at_close = 0;
  {
    std::lock_guard<std::mutex> lock(recorder.mutex);
    ticks_at_close = recorder.ticks;
  }
  std::this_thread::sleep_for(50ms);
  {
    std::lock_guard<std::mutex> lock(recorder.mutex);
    EXPECT_EQ(recorder.ticks, ticks_at_close);  // the timer stopped with the window
  }
  window.reset();  // joins and closes without touching the dead window
  parent_ = 0;
}

TEST_F(X11WindowTest, SurvivesLosingTheServer) {
  Recorder recorder(100, 50);
  auto window = platform::CreateChildWindow(Config(100, 50), &recorder);
  ASSERT_NE(window, nullptr);
  ASSERT_TRUE(recorder.WaitFor([&] { return recorder.ticks > 0; }));
  XCloseDisplay(display_);  // the test's own connection would go down too
  display_ = nullptr;
  server_->Kill();
  // Keep presenting: the broken connection is noticed while drawing or reading.
  recorder.PresentAtNextTick(platform::Rect{0, 0, 100, 50});
  ASSERT_TRUE(recorder.WaitFor([&] {
    for (const Event& e : recorder.events) {
      if (e.type == EventType::kClosed) return true;
    }
    return false;
  }));
  window.reset();  // and the process is still here
}

TEST_F(X11WindowTest, RefusesAMissingParentOrDisplayOrAnEmptySize) {
  Recorder recorder(10, 10);
  platform::WindowConfig c = Config(10, 10);
  c.parent = 0x7ffffff;  // no such window
  EXPECT_EQ(platform::CreateChildWindow(c, &recorder), nullptr);
  c = Config(0, 10);
  EXPECT_EQ(platform::CreateChildWindow(c, &recorder), nullptr);
  c = Config(10, 10);
  c.display_name = ":9999";
  EXPECT_EQ(platform::CreateChildWindow(c, &recorder), nullptr);
  EXPECT_EQ(ChildCount(), 0);
  // A failed open leaves nothing behind: a good one still works.
  auto ok = platform::CreateChildWindow(Config(10, 10), &recorder);
  EXPECT_NE(ok, nullptr);
}

}  // namespace
