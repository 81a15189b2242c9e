// Each DLL's editor in a real Win32 host window (under Wine on an X server):
// the editor becomes a child of the host's window, paints its artwork, a
// click-and-drag with synthesised system input (SendInput, delivered like
// a real mouse through the window system) reaches a control and the host
// receives the automation; a screenshot of the editor is saved as a BMP in
// the working folder. Closing removes the child window and, for Ferro, the
// window class.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/vst_host.h"

namespace {

struct Editor {
  const char* name;
  const char* path;
  const char* window_class;  // expected class of the editor's window, or null
};

const Editor kEditors[] = {
    {"ferro", FERRO_DLL, "IPlugWndClass"},
    {"vortan", VORTAN_DLL, nullptr},
};

// Runs the host's message loop (and effEditIdle, as hosts do) for a while.
void Pump(host::PluginInstance& plug, int milliseconds) {
  const DWORD end = GetTickCount() + static_cast<DWORD>(milliseconds);
  while (static_cast<int>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    plug.Dispatch(vst2::effEditIdle);
    Sleep(10);
  }
}

HWND MakeHostWindow(int width, int height) {
  static bool registered = false;
  if (!registered) {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "ValveTestHost";
    RegisterClassA(&wc);
    registered = true;
  }
  RECT r = {0, 0, width, height};
  const DWORD style = WS_POPUP | WS_VISIBLE;
  AdjustWindowRect(&r, style, FALSE);
  return CreateWindowExA(WS_EX_TOPMOST, "ValveTestHost", "valve test host", style, 0, 0,
                         r.right - r.left, r.bottom - r.top, nullptr, nullptr,
                         GetModuleHandleA(nullptr), nullptr);
}

// The editor's pixels as the screen shows them (BGRX rows, top down).
std::vector<uint32_t> Capture(HWND window, int width, int height) {
  std::vector<uint32_t> pixels(static_cast<size_t>(width) * height);
  HDC screen = GetDC(window);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP section = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(memory, section);
  BitBlt(memory, 0, 0, width, height, screen, 0, 0, SRCCOPY);
  GdiFlush();
  std::memcpy(pixels.data(), bits, pixels.size() * 4);
  SelectObject(memory, old);
  DeleteObject(section);
  DeleteDC(memory);
  ReleaseDC(window, screen);
  return pixels;
}

bool SaveBmp(const std::string& path, const std::vector<uint32_t>& pixels, int width, int height) {
  BITMAPFILEHEADER file = {};
  BITMAPINFOHEADER info = {};
  info.biSize = sizeof(info);
  info.biWidth = width;
  info.biHeight = -height;
  info.biPlanes = 1;
  info.biBitCount = 32;
  info.biCompression = BI_RGB;
  file.bfType = 0x4D42;  // "BM"
  file.bfOffBits = sizeof(file) + sizeof(info);
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size() * 4);
  FILE* out = std::fopen(path.c_str(), "wb");
  if (!out) return false;
  bool ok = std::fwrite(&file, sizeof(file), 1, out) == 1 &&
            std::fwrite(&info, sizeof(info), 1, out) == 1 &&
            std::fwrite(pixels.data(), 4, pixels.size(), out) == pixels.size();
  return std::fclose(out) == 0 && ok;
}

void MouseTo(int x, int y) { SetCursorPos(x, y); }

void Button(bool down) {
  INPUT input = {};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  SendInput(1, &input, sizeof(input));
}

class WindowsEditor : public ::testing::TestWithParam<Editor> {};

TEST_P(WindowsEditor, OpensInTheHostWindowAndReportsADragAsAutomation) {
  std::string error;
  std::unique_ptr<host::PluginModule> module = host::PluginModule::Load(GetParam().path, &error);
  ASSERT_TRUE(module) << error;
  host::PluginInstance plug(*module);
  ASSERT_TRUE(plug.ok());
  plug.Open();
  ASSERT_TRUE(plug.effect()->flags & vst2::effFlagsHasEditor);
  vst2::ERect* rect = nullptr;
  ASSERT_NE(plug.Dispatch(vst2::effEditGetRect, 0, 0, &rect), 0);
  ASSERT_NE(rect, nullptr);
  const int width = rect->right - rect->left;
  const int height = rect->bottom - rect->top;
  ASSERT_GT(width, 0);
  ASSERT_GT(height, 0);

  HWND host_window = MakeHostWindow(width, height);
  ASSERT_NE(host_window, nullptr);
  ASSERT_NE(plug.Dispatch(vst2::effEditOpen, 0, 0, host_window), 0);
  Pump(plug, 1500);

  HWND editor = FindWindowExA(host_window, nullptr, nullptr, nullptr);
  ASSERT_NE(editor, nullptr) << "no child window in the host's window";
  char class_name[64] = {};
  GetClassNameA(editor, class_name, sizeof(class_name));
  if (GetParam().window_class) {
    EXPECT_STREQ(class_name, GetParam().window_class);
    char title[64] = {};
    GetWindowTextA(editor, title, sizeof(title));
    EXPECT_STREQ(title, "IPlug");
  }
  RECT client;
  GetClientRect(editor, &client);
  EXPECT_EQ(client.right, width);
  EXPECT_EQ(client.bottom, height);

  const std::vector<uint32_t> shot = Capture(editor, width, height);
  size_t different = 0;
  for (uint32_t p : shot) different += (p & 0xFFFFFF) != (shot[0] & 0xFFFFFF);
  EXPECT_GT(different, shot.size() / 20) << "the editor shows almost a single colour";
  EXPECT_TRUE(
      SaveBmp(std::string("windows_editor_") + GetParam().name + ".bmp", shot, width, height));

  // Press, drag upwards and release over a grid of points until a control
  // reports a change (knobs answer vertical drags).
  POINT origin = {0, 0};
  ClientToScreen(editor, &origin);
  plug.ClearCalls();
  bool automated = false;
  for (int gy = 1; gy < 6 && !automated; ++gy) {
    for (int gx = 1; gx < 10 && !automated; ++gx) {
      const int x = origin.x + width * gx / 10;
      const int y = origin.y + height * gy / 6;
      MouseTo(x, y);
      Pump(plug, 60);
      Button(true);
      Pump(plug, 60);
      for (int step = 1; step <= 8; ++step) {
        MouseTo(x, y - step * 5);
        Pump(plug, 30);
      }
      Button(false);
      Pump(plug, 100);
      automated = !plug.CallsWith(vst2::audioMasterAutomate).empty();
    }
  }
  EXPECT_TRUE(automated) << "no click or drag reached a control";

  plug.Dispatch(vst2::effEditClose);
  Pump(plug, 200);
  EXPECT_FALSE(IsWindow(editor));
  if (GetParam().window_class) {
    WNDCLASSEXA info = {};
    info.cbSize = sizeof(info);
    HMODULE dll = GetModuleHandleA(GetParam().path);
    EXPECT_FALSE(GetClassInfoExA(dll, GetParam().window_class, &info))
        << "the class stays registered after the last window closed";
  }
  DestroyWindow(host_window);
}

INSTANTIATE_TEST_SUITE_P(Dll, WindowsEditor, ::testing::ValuesIn(kEditors),
                         [](const ::testing::TestParamInfo<Editor>& info) {
                           return std::string(info.param.name);
                         });

}  // namespace
