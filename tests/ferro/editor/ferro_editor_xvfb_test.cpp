// The module's editor in a real window system: a private Xvfb server, a parent
// window standing in for the host's, Ostra_Ferro_B3 loaded through the VST
// ABI, effEditOpen with the parent's id, and xdotool clicking the channel
// switch, dragging a knob and folding the settings panel away. Screenshots
// are left in this test's build folder: ferro_editor_red.png (RED channel,
// panel open), ferro_editor_green.png (GREEN channel after the click) and
// ferro_editor_panel_closed.png. Skipped when Xvfb or xdotool is missing.
// gtest first: Xlib defines macros (None, Bool) that clash with its names.
#include <gtest/gtest.h>
// clang-format off
#include <X11/Xlib.h>
#include <X11/Xutil.h>
// clang-format on

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <thread>

#include "host/vst_host.h"
#include "tests/ferro/editor/golden_image.h"

namespace {

constexpr int kW = 834, kH = 278;
constexpr int kChannel = 6, kRedPreGain = 7, kSettingsShown = 32;

bool OnPath(const char* program) {
  const std::string command = std::string("command -v ") + program + " >/dev/null 2>&1";
  return std::system(command.c_str()) == 0;
}

// A private Xvfb with a screen wide enough for the editor; the display number
// comes back through -displayfd once the server accepts clients.
pid_t StartXvfb(std::string* displayName) {
  int fds[2];
  if (pipe(fds) != 0) return -1;
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const int quiet = open("/dev/null", O_WRONLY);
    if (quiet >= 0) dup2(quiet, 2);
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
  if (pid < 0 || got <= 0) {
    if (pid > 0) {
      kill(pid, SIGKILL);
      waitpid(pid, nullptr, 0);
    }
    return -1;
  }
  *displayName = ":" + std::string(number, static_cast<size_t>(got));
  return pid;
}

bool WaitFor(const std::function<bool()>& condition, int ms = 5000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  while (std::chrono::steady_clock::now() < end) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return condition();
}

class FerroEditorInXvfb : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!OnPath("Xvfb") || !OnPath("xdotool")) GTEST_SKIP() << "Xvfb or xdotool not installed";
    server_ = StartXvfb(&displayName_);
    ASSERT_GT(server_, 0) << "Xvfb did not start";
    display_ = XOpenDisplay(displayName_.c_str());
    ASSERT_NE(display_, nullptr);
    const int screen = DefaultScreen(display_);
    parent_ = XCreateSimpleWindow(display_, RootWindow(display_, screen), 0, 0, kW, kH, 0, 0,
                                  BlackPixel(display_, screen));
    XMapWindow(display_, parent_);
    XSync(display_, False);
    setenv("DISPLAY", displayName_.c_str(), 1);  // where the plug-in connects

    std::string error;
    module_ = host::PluginModule::Load(OSTRA_FERRO_B3_PLUGIN_PATH, &error);
    ASSERT_NE(module_, nullptr) << error;
    plugin_ = std::make_unique<host::PluginInstance>(*module_);
    ASSERT_TRUE(plugin_->ok());
    plugin_->Open();
  }

  void TearDown() override {
    if (plugin_) plugin_->Dispatch(vst2::effEditClose);
    if (plugin_) plugin_->Close();
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

  platform::Bitmap Screenshot() {
    XSync(display_, False);
    platform::Bitmap shot(kW, kH);
    XImage* image = XGetImage(display_, parent_, 0, 0, kW, kH, AllPlanes, ZPixmap);
    if (!image) return shot;
    for (int y = 0; y < kH; ++y) {
      for (int x = 0; x < kW; ++x) {
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
    return std::memcmp(a.At(x, y), b.At(x, y), 3) == 0;
  }
  void Xdotool(const std::string& args) {
    const std::string command = "xdotool " + args;
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
  }
  std::string On() { return " --window " + std::to_string(parent_) + " "; }
  std::vector<int32_t> Opcodes() {
    std::vector<int32_t> ops;
    for (const host::HostCall& c : plugin_->Calls())
      if (c.opcode == vst2::audioMasterAutomate || c.opcode == vst2::audioMasterBeginEdit ||
          c.opcode == vst2::audioMasterEndEdit)
        ops.push_back(c.opcode);
    return ops;
  }

  pid_t server_ = -1;
  std::string displayName_;
  Display* display_ = nullptr;
  ::Window parent_ = 0;
  std::unique_ptr<host::PluginModule> module_;
  std::unique_ptr<host::PluginInstance> plugin_;
};

TEST_F(FerroEditorInXvfb, OpensInTheHostWindowAndTakesClicksAndDrags) {
  vst2::ERect* rect = nullptr;
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditGetRect, 0, 0, &rect), 1);
  EXPECT_EQ(rect->right, kW);
  EXPECT_EQ(rect->bottom, kH);
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);

  const platform::Bitmap black(kW, kH);
  platform::Bitmap red;
  ASSERT_TRUE(WaitFor([&] {
    red = Screenshot();
    return !SamePixel(red, black, 400, 60) && !SamePixel(red, black, 20, 260);
  })) << "the editor was never drawn";
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  red = Screenshot();
  EXPECT_TRUE(
      golden::WritePng(std::string(FERRO_EDITOR_OUTPUT_DIR) + "/ferro_editor_red.png", red));

  // The channel switch: RED -> GREEN.
  plugin_->ClearCalls();
  Xdotool("mousemove" + On() + "194 179 click 1");
  ASSERT_TRUE(WaitFor([&] { return plugin_->GetParameter(kChannel) == 0.0f; }));
  ASSERT_TRUE(WaitFor([&] { return Opcodes().size() >= 3; }));
  const std::vector<int32_t> click = Opcodes();
  EXPECT_EQ(click[0], vst2::audioMasterAutomate);
  EXPECT_EQ(click[1], vst2::audioMasterBeginEdit);
  EXPECT_EQ(click[2], vst2::audioMasterEndEdit);
  platform::Bitmap green;
  EXPECT_TRUE(WaitFor([&] {
    green = Screenshot();
    return !SamePixel(red, green, 223, 175) && !SamePixel(red, green, 223, 212);  // the lamps
  }));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  green = Screenshot();
  EXPECT_TRUE(
      golden::WritePng(std::string(FERRO_EDITOR_OUTPUT_DIR) + "/ferro_editor_green.png", green));

  // Back to RED, then drag RED:PreGain up by 37 pixels: an eighth of its range.
  Xdotool("mousemove" + On() + "194 179 click 1");
  ASSERT_TRUE(WaitFor([&] { return plugin_->GetParameter(kChannel) == 1.0f; }));
  plugin_->ClearCalls();
  const float before = plugin_->GetParameter(kRedPreGain);
  Xdotool("mousemove" + On() + "265 190 mousedown 1 sleep 0.1 mousemove" + On() +
          "265 170 sleep 0.1 mousemove" + On() + "265 153 sleep 0.1 mouseup 1");
  ASSERT_TRUE(WaitFor([&] { return plugin_->GetParameter(kRedPreGain) > before + 0.12f; }));
  EXPECT_NEAR(plugin_->GetParameter(kRedPreGain), before + 0.125f, 1e-3);
  ASSERT_TRUE(WaitFor([&] {
    const auto ops = Opcodes();
    return !ops.empty() && ops.back() == vst2::audioMasterEndEdit;
  }));
  const std::vector<int32_t> drag = Opcodes();
  EXPECT_EQ(drag.front(), vst2::audioMasterBeginEdit);
  for (size_t i = 1; i + 1 < drag.size(); ++i) EXPECT_EQ(drag[i], vst2::audioMasterAutomate);
  const auto automation = plugin_->CallsWith(vst2::audioMasterAutomate);
  ASSERT_FALSE(automation.empty());
  EXPECT_EQ(automation.back().index, kRedPreGain);

  // Fold the settings panel away.
  Xdotool("mousemove" + On() + "420 5 click 1");
  ASSERT_TRUE(WaitFor([&] { return plugin_->GetParameter(kSettingsShown) == 0.0f; }));
  platform::Bitmap closed;
  EXPECT_TRUE(WaitFor([&] {
    closed = Screenshot();
    return !SamePixel(red, closed, 560, 60);  // where the help text was
  }));
  std::this_thread::sleep_for(std::chrono::milliseconds(150));
  EXPECT_TRUE(golden::WritePng(
      std::string(FERRO_EDITOR_OUTPUT_DIR) + "/ferro_editor_panel_closed.png", Screenshot()));

  // Closing and opening again; a host change made meanwhile shows at once.
  EXPECT_EQ(plugin_->Dispatch(vst2::effEditClose), 1);
  plugin_->SetParameter(kSettingsShown, 1.0f);
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);
  EXPECT_TRUE(WaitFor([&] { return !SamePixel(Screenshot(), closed, 560, 60); }));
}

TEST_F(FerroEditorInXvfb, ClosingWhileTheWindowThreadWorksNeverDeadlocks) {
  for (int round = 0; round < 20; ++round) {
    ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);
    // Keep the window thread busy with a drag while the host closes it.
    std::system(("xdotool mousemove" + On() + "265 190 mousedown 1 mousemove" + On() +
                 "265 150 mouseup 1 &")
                    .c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(round % 4 * 10));
    ASSERT_EQ(plugin_->Dispatch(vst2::effEditClose), 1);
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));  // the last xdotool runs out
}

}  // namespace

namespace {

TEST_F(FerroEditorInXvfb, ClosingTheEffectWithItsEditorOpenStopsTheWindowFirst) {
  for (int round = 0; round < 5; ++round) {
    ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);
    std::system(("xdotool mousemove" + On() + "265 190 mousedown 1 mousemove" + On() +
                 "265 150 mouseup 1 &")
                    .c_str());
    std::this_thread::sleep_for(std::chrono::milliseconds(round * 10));
    plugin_->Close();  // effClose without effEditClose, as some hosts do
    plugin_ = std::make_unique<host::PluginInstance>(*module_);
    plugin_->Open();
  }
  std::this_thread::sleep_for(std::chrono::milliseconds(300));
}

}  // namespace

namespace {

// The server dies under an open editor that goes on repainting (automation
// moves a knob): the host goes on and the editor closes. (A new editor is
// not tried: a parallel test's Xvfb may already own the display number.)
// Run under ThreadSanitizer too: the window stops using the lost connection
// rather than going back into Xlib.
TEST_F(FerroEditorInXvfb, LosingTheServerUnderAnOpenEditorLeavesTheHostRunning) {
  ASSERT_EQ(plugin_->Dispatch(vst2::effEditOpen, 0, 0, reinterpret_cast<void*>(parent_)), 1);
  std::this_thread::sleep_for(std::chrono::milliseconds(200));
  XCloseDisplay(display_);  // the host's own connection goes down too
  display_ = nullptr;
  kill(server_, SIGKILL);
  waitpid(server_, nullptr, 0);
  server_ = -1;
  for (int i = 0; i < 60; ++i) {
    plugin_->SetParameter(7, static_cast<float>(i % 10) / 10.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  plugin_->Dispatch(vst2::effEditClose);
  std::vector<std::vector<float>> in(2, std::vector<float>(64, 0.1f)), out(2, std::vector<float>(64));
  plugin_->ProcessReplacing(in, out);
}

}  // namespace
