// The editor in a real window system: a private Xvfb server, a parent window
// standing in for the host's, the plug-in module loaded through the VST ABI,
// effEditOpen with the parent's id, and xdotool clicking a switch and
// dragging a knob. Screenshots of the panel in channel A and in channel B are
// left in this test's build folder (vortan_editor_channel_a.png and
// vortan_editor_channel_b.png). Skipped when Xvfb or xdotool is missing.
#include <gtest/gtest.h>

// Xlib after GoogleTest: Xlib's None macro would break GoogleTest's headers.
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "host/vst_host.h"
#include "tests/vortan/editor/png_file.h"

namespace {

bool OnPath(const char* program) {
  const std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

class EditorInXvfb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) GTEST_SKIP() << "Xvfb or xdotool not installed";
    int fds[2];
    ASSERT_EQ(pipe(fds), 0);
    server_ = fork();
    ASSERT_GE(server_, 0);
    if (server_ == 0) {
      close(fds[0]);
      const std::string fd = std::to_string(fds[1]);
      execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
             "tcp", static_cast<char*>(nullptr));
      _exit(127);
    }
    close(fds[1]);
    char number[16] = {};
    ssize_t got = 0;
    for (ssize_t n; got < 15 && (n = read(fds[0], number + got, 1)) == 1 && number[got] != '\n';)
      got += n;
    close(fds[0]);
    ASSERT_GT(got, 0) << "Xvfb did not report a display";
    display_name_ = ":" + std::string(number, static_cast<size_t>(got));
    display_ = XOpenDisplay(display_name_.c_str());
    ASSERT_NE(display_, nullptr);
    const int screen = DefaultScreen(display_);
    parent_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, 800, 312, 0, 0,
                                  BlackPixel(display_, screen));
    XMapWindow(display_, parent_);
    XSync(display_, False);
    setenv("DISPLAY", display_name_.c_str(), 1);  // where the plug-in connects

    std::string error;
    module_ = host::PluginModule::Load(VORTAN_V1_1_PLUGIN_PATH, &error);
    ASSERT_NE(module_, nullptr) << error;
    plugin_ = std::make_unique<host::PluginInstance>(*module_);
    ASSERT_TRUE(plugin_->ok());
    plugin_->Open();
  }

  void TearDown() override {
    if (plugin_) plugin_->Dispatch(vst2::effEditClose);
    plugin_.reset();
    module_.reset();
    if (display_) {
      XDestroyWindow(display_, parent_);
      XCloseDisplay(display_);
    }
    if (server_ > 0) {
      kill(server_, SIGTERM);
      waitpid(server_, nullptr, 0);
    }
  }

  // The parent window's pixels (the editor's child window included).
  platform::Bitmap Screenshot() {
    XSync(display_, False);
    XImage* image = XGetImage(display_, parent_, 0, 0, 800, 312, AllPlanes, ZPixmap);
    platform::Bitmap shot(800, 312);
    if (!image) return shot;
    for (int y = 0; y < 312; ++y) {
      for (int x = 0; x < 800; ++x) {
        const unsigned long p = XGetPixel(image, x, y);
        uint8_t* d = shot.At(x, y);
        d[0] = static_cast<uint8_t>((p & image->red_mask) >> 16);
        d[1] = static_cast<uint8_t>((p & image->green_mask) >> 8);
        d[2] = static_cast<uint8_t>(p & image->blue_mask);
        d[3] = 255;
      }
    }
    XDestroyImage(image);
    return shot;
  }
  static bool SamePixel(const platform::Bitmap& a, const platform::Bitmap& b, int x, int y) {
    return std::memcmp(a.At(x, y), b.At(x, y), 4) == 0;
  }

  void Xdotool(const std::string& args) {
    const std::string command = "xdotool " + args;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  std::string WindowArg() { return " --window " + std::to_string(parent_) + " "; }

  std::vector<host::HostCall> Automation() { return plugin_->CallsWith(vst2::audioMasterAutomate); }

  pid_t server_ = -1;
  std::string display_name_;
  Display* display_ = nullptr;
  ::Window parent_ = 0;
  std::unique_ptr<host::PluginModule> module_;
  std::unique_ptr<host::PluginInstance> plugin_;
};

TEST_F(EditorInXvfb, OpensInTheHostWindowAndTakesClicksAndDrags) {
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right - rect->left, 800);
  EXPECT_EQ(rect->bottom - rect->top, 312);
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);

  // The panel appears without any effEditIdle: the window has its own timer.
  platform::Bitmap black(800, 312);
  black.Fill(0, 0, 0, 255);  // the parent's own colour
  platform::Bitmap a;
  ASSERT_TRUE(WaitFor([&] {
    a = Screenshot();
    return !SamePixel(a, black, 400, 60) && !SamePixel(a, black, 20, 300);
  })) << "the panel was never drawn";
  const std::string out = VORTAN_EDITOR_OUTPUT_DIR;
  EXPECT_TRUE(vortan::WritePngFile(out + "/vortan_editor_channel_a.png", a));

  // Click the Channel switch (162, 208 .. 177, 226): channel B.
  Xdotool("mousemove" + WindowArg() + "169 217 click 1");
  ASSERT_TRUE(WaitFor([&] { return plugin_->GetParameter(1) == 1.0f; }));
  std::vector<host::HostCall> automation = Automation();
  ASSERT_FALSE(automation.empty());
  EXPECT_EQ(automation.back().index, 1);
  EXPECT_EQ(automation.back().opt, 1.0f);
  // The channel lamp (162, 184 .. 178, 246) changes on screen.
  platform::Bitmap b;
  EXPECT_TRUE(WaitFor([&] {
    b = Screenshot();
    return !SamePixel(a, b, 170, 190) && !SamePixel(a, b, 170, 240);
  }));
  EXPECT_TRUE(vortan::WritePngFile(out + "/vortan_editor_channel_b.png", b));

  // Any knob mode makes dragging linear: drag Input (49, 185 .. 111, 247) up
  // by 40 pixels.
  EXPECT_EQ(plugin_->Dispatch(vst2::effSetEditKnobMode, 0, 0), 1);
  plugin_->ClearCalls();
  const float before = plugin_->GetParameter(0);
  Xdotool("mousemove" + WindowArg() + "80 216 mousedown 1 sleep 0.1 mousemove" + WindowArg() +
          "80 196 sleep 0.1 mousemove" + WindowArg() + "80 176 sleep 0.1 mouseup 1");
  ASSERT_TRUE(WaitFor([&] { return plugin_->GetParameter(0) > before + 0.19f; }))
      << plugin_->GetParameter(0);
  EXPECT_NEAR(plugin_->GetParameter(0), before + 40.0f / 200.0f, 1e-5);
  automation = Automation();
  ASSERT_FALSE(automation.empty());
  EXPECT_EQ(automation.back().index, 0);
  EXPECT_NEAR(automation.back().opt, plugin_->GetParameter(0), 1e-6);

  // Closing and opening again works, and a host-side change shows after reopening.
  plugin_->Dispatch(vst2::effEditClose);
  plugin_->SetParameter(1, 0.0f);
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);
  platform::Bitmap again;
  EXPECT_TRUE(WaitFor([&] {
    again = Screenshot();
    return SamePixel(again, a, 170, 190);
  }));
  vortan::WritePngFile(out + "/vortan_editor_reopened.png", again);
}

}  // namespace

namespace {

// The server dies under an open editor that goes on repainting (automation
// moves a knob): the host goes on and the editor closes. (A new editor is
// not tried: a parallel test's Xvfb may already own the display number.)
// Run under ThreadSanitizer too: the window stops using the lost connection
// rather than going back into Xlib.
TEST_F(EditorInXvfb, LosingTheServerUnderAnOpenEditorLeavesTheHostRunning) {
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  XCloseDisplay(display_);  // the host's own connection goes down too
  display_ = nullptr;
  kill(server_, SIGKILL);
  waitpid(server_, nullptr, 0);
  server_ = -1;
  for (int i = 0; i < 60; ++i) {
    plugin_->SetParameter(0, static_cast<float>(i % 10) / 10.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  plugin_->Dispatch(vst2::effEditClose);
  std::vector<std::vector<float>> in(2, std::vector<float>(64, 0.1f)), out(2, std::vector<float>(64));
  plugin_->ProcessReplacing(in, out);
}

}  // namespace
