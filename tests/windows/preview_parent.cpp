// Stands in for the Windows display settings, which show a saver's preview in a small window
// of their own. Two checks, each printing what it found; exit status 0 when both held.
//
// 1. The preview's painting, in this process: the real preview run (the same code as
//    "plasmora.scr /p HWND") inside a parent window made here. The screen must show bitmap 112
//    at the parent's top left, unscaled, and black to its right and below; destroying the
//    parent ends the run. (In one process because Wine does not show what one process paints
//    into a child of another process's window.)
// 2. The saver program itself: "SCR /p HWND" puts a visible child of class "SSPreview" and
//    title "PreviewWindow" over the whole of the parent's client area, and ends with exit code
//    0 when the parent is destroyed.
//
// Usage: preview_parent SCR WIDTH HEIGHT
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "host/builtin_bitmaps.h"
#include "host/preview_window.h"
#include "host/saver_app.h"

namespace {

constexpr int windowX = 40, windowY = 40;
int width = 0, height = 0;
bool paintedRight = false;

HWND makeParent() {
  static bool registered = false;
  HINSTANCE instance = GetModuleHandleA(nullptr);
  if (!registered) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = instance;
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
    windowClass.lpszClassName = "PreviewParent";
    registered = RegisterClassA(&windowClass) != 0;
  }
  return CreateWindowExA(0, "PreviewParent", "Preview parent", WS_POPUP | WS_VISIBLE, windowX,
                         windowY, width, height, nullptr, nullptr, instance, nullptr);
}

// What the screen shows of the window's client area: rows top-down, blue, green, red.
std::vector<unsigned char> screenOf(HWND window) {
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  HBITMAP shot = CreateCompatibleBitmap(screen, width, height);
  HGDIOBJ old = SelectObject(memory, shot);
  BitBlt(memory, 0, 0, width, height, screen, origin.x, origin.y, SRCCOPY);
  SelectObject(memory, old);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  std::vector<unsigned char> pixels(std::size_t(width) * height * 4);
  if (GetDIBits(memory, shot, 0, height, pixels.data(), &info, DIB_RGB_COLORS) != height)
    pixels.clear();
  DeleteObject(shot);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Fired from the preview's own message loop once it has had time to paint.
void CALLBACK checkPainting(HWND parent, UINT, UINT_PTR timer, DWORD) {
  KillTimer(parent, timer);
  const BuiltinBitmap& picture = *builtinBitmap(previewBitmapId);
  const std::vector<unsigned char> shown = screenOf(parent);
  int wrong = 0, notBlack = 0;
  for (int y = 0; y < height && !shown.empty(); ++y)
    for (int x = 0; x < width; ++x) {
      const unsigned char* s = &shown[(std::size_t(y) * width + x) * 4];
      if (x < picture.width && y < picture.height) {
        const unsigned char* e = &picture.rgb[(std::size_t(y) * picture.width + x) * 3];
        for (int c = 0; c < 3; ++c) wrong += std::abs(s[2 - c] - e[c]) > 2;
      } else if (s[0] != 0 || s[1] != 0 || s[2] != 0) {
        ++notBlack;
      }
    }
  std::printf(
      "painting at %dx%d: %d channel values differ from bitmap 112, %d pixels beside it "
      "not black\n",
      width, height, wrong, notBlack);
  paintedRight = !shown.empty() && wrong == 0 && notBlack == 0;
  DestroyWindow(parent);
}

bool previewPaints() {
  HWND parent = makeParent();
  SaverApp app;
  app.parentWindow = static_cast<std::uint32_t>(reinterpret_cast<UINT_PTR>(parent));
  SetTimer(parent, 1, 1500, checkPainting);
  const bool ran = runPreview(app);
  std::printf("preview run ended: %s\n", ran ? "yes" : "no window");
  return ran && paintedRight;
}

void pump(DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (GetTickCount() < end) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    Sleep(20);
  }
}

bool saverPreviewCoversAndEnds(const std::string& scr) {
  HWND parent = makeParent();
  pump(300);
  std::string line = "\"" + scr + "\" /p " + std::to_string(reinterpret_cast<UINT_PTR>(parent));
  STARTUPINFOA startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION process{};
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &process)) {
    std::printf("cannot start %s\n", line.c_str());
    return false;
  }
  // Wine's first start is slow: the child may take seconds to appear, and the check waits
  // for it to be shown in its place.
  HWND child = nullptr;
  RECT inner{}, outer{};
  LONG style = 0;
  bool covers = false;
  for (int i = 0; i < 150 && !covers; ++i) {
    pump(100);
    child = FindWindowExA(parent, nullptr, "SSPreview", "PreviewWindow");
    if (child == nullptr) continue;
    GetClientRect(parent, &outer);
    GetWindowRect(child, &inner);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&inner), 2);
    style = GetWindowLongA(child, GWL_STYLE);
    covers = EqualRect(&inner, &outer) && (style & WS_CHILD) && (style & WS_VISIBLE);
  }
  std::printf("/p child window: %s, at (%ld, %ld)-(%ld, %ld) in a client area of %ldx%ld\n",
              child == nullptr ? "none"
              : covers         ? "visible, covering the parent"
                               : "wrong",
              inner.left, inner.top, inner.right, inner.bottom, outer.right, outer.bottom);
  DestroyWindow(parent);
  const DWORD waited = WaitForSingleObject(process.hProcess, 5000);
  DWORD code = 1;
  GetExitCodeProcess(process.hProcess, &code);
  std::printf("after the parent went: %s, exit code %lu\n",
              waited == WAIT_OBJECT_0 ? "ended" : "still running", code);
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 1);
  return covers && waited == WAIT_OBJECT_0 && code == 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: preview_parent SCR WIDTH HEIGHT\n");
    return 2;
  }
  width = std::atoi(argv[2]);
  height = std::atoi(argv[3]);
  const bool painted = previewPaints();
  const bool saver = saverPreviewCoversAndEnds(argv[1]);
  std::fflush(stdout);
  return painted && saver ? 0 : 1;
}
