// Each bundle's UI hosted the way LV2 hosts host it (suil), in a parent
// window on a private Xvfb server: it opens inside the parent, a mouse edit
// in the editor arrives as a port write inside a touch gesture, a port value
// from the host reaches the plug-in, and opening and closing 50 times
// leaves nothing behind.
#include <gtest/gtest.h>
// After gtest: Xlib defines None and other short names as macros.
#include <X11/Xlib.h>
#include <lilv/lilv.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/ui/ui.h>
#include <suil/suil.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tests/lv2/lv2_world.h"
#include "tests/platform/window/xvfb_server.h"

namespace {

struct Gesture {
  std::vector<std::string> events;  // "touch <port>", "write <port>", "release <port>"
  std::vector<float> written;
};

void WritePort(SuilController c, uint32_t port, uint32_t size, uint32_t format, const void* buf) {
  auto* g = static_cast<Gesture*>(c);
  if (format != 0 || size != sizeof(float)) return;
  g->events.push_back("write " + std::to_string(port));
  g->written.push_back(*static_cast<const float*>(buf));
}

void Touch(SuilController c, uint32_t port, bool grabbed) {
  static_cast<Gesture*>(c)->events.push_back((grabbed ? "touch " : "release ") +
                                             std::to_string(port));
}

struct Bundle {
  const char* name;
  const char* gesture;  // xdotool arguments after the window, editor coordinates
};

void PrintTo(const Bundle& b, std::ostream* os) { *os << b.name; }

class Lv2UiInXvfb : public ::testing::TestWithParam<Bundle> {
 protected:
  void SetUp() override {
    ASSERT_TRUE(testing_x11::OnPath("xdotool")) << "xdotool missing: run scripts/install-deps.sh";
    server_ = testing_x11::XvfbServer::Start();
    ASSERT_TRUE(server_) << "Xvfb could not be started: run scripts/install-deps.sh";
    setenv("DISPLAY", server_->display_name().c_str(), 1);
    display_ = XOpenDisplay(nullptr);
    ASSERT_NE(display_, nullptr);
    parent_ = XCreateSimpleWindow(display_, DefaultRootWindow(display_), 0, 0, 640, 480, 0, 0, 0);
    XMapWindow(display_, parent_);
    XSync(display_, False);
  }
  void TearDown() override {
    if (display_) XCloseDisplay(display_);
  }
  unsigned Children(Window* first = nullptr) {
    Window root, up, *children = nullptr;
    unsigned count = 0;
    XQueryTree(display_, parent_, &root, &up, &children, &count);
    if (first) *first = count ? children[0] : 0;
    if (children) XFree(children);
    return count;
  }
  std::unique_ptr<testing_x11::XvfbServer> server_;
  Display* display_ = nullptr;
  Window parent_ = 0;
};

TEST_P(Lv2UiInXvfb, OpensInTheParentSendsEditsAsTouchedPortWritesAndClosesCleanly) {
  lv2test::World world;
  const std::string uri = std::string("https://valve-amps.example/lv2/") + GetParam().name;
  const LilvPlugin* plugin = world.Plugin(uri);
  ASSERT_NE(plugin, nullptr);
  lv2test::Instance dsp(world, plugin, 48000.0);
  ASSERT_TRUE(dsp.ok());
  lilv_instance_activate(dsp.instance());

  LilvUIs* uis = lilv_plugin_get_uis(plugin);
  ASSERT_EQ(lilv_uis_size(uis), 1u);
  const LilvUI* ui = lilv_uis_get(uis, lilv_uis_begin(uis));
  LilvNode* x11 = lilv_new_uri(world.world(), LV2_UI__X11UI);
  ASSERT_TRUE(lilv_ui_is_a(ui, x11));
  lilv_node_free(x11);
  char* bundle = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_bundle_uri(ui)), nullptr);
  char* binary = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(ui)), nullptr);

  SuilHost* host = suil_host_new(WritePort, nullptr, nullptr, nullptr);
  suil_host_set_touch_func(host, Touch);
  const LV2_Feature parentFeature = {LV2_UI__parent, reinterpret_cast<void*>(parent_)};
  const LV2_Feature instanceFeature = {LV2_INSTANCE_ACCESS_URI,
                                       lilv_instance_get_handle(dsp.instance())};
  std::vector<const LV2_Feature*> features = {&parentFeature, &instanceFeature};
  for (const LV2_Feature* const* f = world.features(); *f; ++f) features.push_back(*f);
  features.push_back(nullptr);

  for (int round = 0; round < 50; ++round) {
    Gesture gesture;
    SuilInstance* instance =
        suil_instance_new(host, &gesture, LV2_UI__X11UI, uri.c_str(),
                          lilv_node_as_uri(lilv_ui_get_uri(ui)), LV2_UI__X11UI, bundle, binary,
                          features.data());
    ASSERT_NE(instance, nullptr) << "round " << round;
    auto* idle = static_cast<const LV2UI_Idle_Interface*>(
        suil_instance_extension_data(instance, LV2_UI__idleInterface));
    ASSERT_NE(idle, nullptr);
    Window editor = 0;
    ASSERT_EQ(Children(&editor), 1u) << "the editor's window in the parent";
    EXPECT_EQ(reinterpret_cast<Window>(suil_instance_get_widget(instance)), editor);
    if (round == 0 || round == 49) {
      std::this_thread::sleep_for(std::chrono::milliseconds(200));  // first paint
      std::string args = GetParam().gesture;
      for (size_t at; (at = args.find("WIN")) != std::string::npos;)
        args.replace(at, 3, std::to_string(parent_));
      const std::string command = "xdotool mousemove --window " + std::to_string(parent_) + " " + args;
      ASSERT_EQ(std::system(command.c_str()), 0) << command;
      const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
      while (gesture.events.empty() || gesture.events.back().rfind("release", 0) != 0) {
        ASSERT_LT(std::chrono::steady_clock::now(), deadline) << "no complete gesture arrived";
        idle->idle(suil_instance_get_handle(instance));
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
      }
      ASSERT_GE(gesture.events.size(), 3u);
      const std::string port = gesture.events.front().substr(6);
      EXPECT_EQ(gesture.events.front(), "touch " + port);
      EXPECT_EQ(gesture.events[1], "write " + port);
      EXPECT_EQ(gesture.events.back(), "release " + port);
      // The host takes the value over; the next block leaves the plug-in as
      // the editor set it, and a value from the host moves it back.
      const int index = std::stoi(port);
      const float edited = gesture.written.back();
      EXPECT_NE(edited, dsp.Control(index));
      const float before = dsp.Control(index);
      dsp.Control(index) = edited;
      std::vector<float> in(64, 0.0f), outL, outR;
      dsp.Render(in, in, 64, &outL, &outR);
      suil_instance_port_event(instance, static_cast<uint32_t>(index), sizeof before, 0, &before);
      dsp.Control(index) = before;
      dsp.Render(in, in, 64, &outL, &outR);
      gesture.events.clear();
      for (int i = 0; i < 5; ++i) idle->idle(suil_instance_get_handle(instance));
      EXPECT_TRUE(gesture.events.empty()) << "a host change is no edit: " << gesture.events[0];
    } else {
      idle->idle(suil_instance_get_handle(instance));
    }
    suil_instance_free(instance);
    ASSERT_EQ(Children(), 0u) << "round " << round << ": the editor's window stayed";
  }
  suil_host_free(host);
  lilv_free(bundle);
  lilv_free(binary);
  lilv_uis_free(uis);
}

INSTANTIATE_TEST_SUITE_P(
    Bundles, Lv2UiInXvfb,
    ::testing::Values(Bundle{"Ostra_Ferro_B3", "265 190 mousedown 1 mousemove --window WIN 265 150 mouseup 1"},
                      Bundle{"Vortan_v1_1", "169 217 click 1"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
