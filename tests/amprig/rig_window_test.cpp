// amprig's window under a private Xvfb: the amplifier's editor inside it, the
// strip drawn, a click on the editor reaching the plug-in, a click on the
// strip asking for the next cabinet, and a clean close.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <set>
#include <thread>

#include "host/amprig/rig_window.h"
#include "host/vst_host.h"
#include "tests/platform/window/xvfb_server.h"

namespace {

template <typename F>
bool WaitFor(F condition) {
  for (int i = 0; i < 250; ++i) {
    if (condition()) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

TEST(RigWindow, ShowsTheEditorAndTheStripAndTakesClicks) {
  ASSERT_TRUE(testing_x11::OnPath("xdotool")) << "xdotool is missing (scripts/install-deps.sh)";
  auto xvfb = testing_x11::XvfbServer::Start();
  ASSERT_NE(xvfb, nullptr) << "Xvfb did not start";
  setenv("DISPLAY", xvfb->display_name().c_str(), 1);
  std::string error;
  auto module = host::PluginModule::Load(OSTRA_FERRO_B3_PLUGIN_PATH, &error);
  ASSERT_NE(module, nullptr) << error;
  host::PluginInstance plugin(*module);
  plugin.Open();
  plugin.SetSampleRate(48000.0f);
  plugin.SetBlockSize(256);

  auto window = amprig::RigWindow::Open(plugin.effect(), &error);
  ASSERT_NE(window, nullptr) << error;
  amprig::RigStatus status;
  status.in.peakDb = -12.0;
  status.in.rmsDb = -20.0;
  status.out.peakDb = -0.5;
  status.out.rmsDb = -9.0;
  status.out.clip = true;
  status.tuner = amprig::NoteOf(110.0);
  window->Show(status, "4x12-closed", -3.0, 0.0);
  std::set<uint32_t> colours;
  for (size_t i = 0; i + 3 < window->strip().size(); i += 4)
    colours.insert(window->strip()[i] << 16 | window->strip()[i + 1] << 8 | window->strip()[i + 2]);
  EXPECT_GT(colours.size(), 8u) << "the strip is blank";

  // The editor's channel switch, as in the editor's own window test.
  const float channel = plugin.GetParameter(6);
  const std::string id = std::to_string(window->windowId());
  amprig::RigWindow::Request request;
  ASSERT_EQ(std::system(("xdotool mousemove --window " + id + " 194 179 click 1").c_str()), 0);
  EXPECT_TRUE(WaitFor([&] {
    window->TakeRequest(&request);
    return plugin.GetParameter(6) != channel;
  })) << "the click did not reach the editor";

  // The strip's cabinet row: the next built-in cabinet.
  const int y = 278 + 8;  // the editor's height, then the first row of the strip
  ASSERT_EQ(std::system(("xdotool mousemove --window " + id + " 600 " + std::to_string(y) +
                         " click 1").c_str()), 0);
  bool asked = false;
  EXPECT_TRUE(WaitFor([&] {
    while (window->TakeRequest(&request))
      asked = asked || request.kind == amprig::RigWindow::Request::kCabinet;
    return asked;
  }));
  EXPECT_NE(request.cab, "4x12-closed");
  window.reset();  // closes the editor first, then the window
  plugin.Close();
}

}  // namespace
