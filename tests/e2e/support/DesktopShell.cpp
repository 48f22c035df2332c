#include "support/DesktopShell.h"

#include <algorithm>
#include <cstdint>
#include <string>

#include "support/UnixShell.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

constexpr Milliseconds kXdotoolTimeout = 10s;
// Explorer's layout on the 1024x700 desktop: a task bar 20 pixels high,
// icons of 16 pixels with a border of 2 on each side.
constexpr int kTaskBarHeight = 20;
constexpr int kIconSlot = 20;
constexpr int kSlotsLooked = 3;
constexpr int kReferenceGap = 10;

}  // namespace

HWND TaskBar() { return FindWindowW(L"Shell_TrayWnd", nullptr); }

int NotificationIconCount() {
  // A copy of the right end of the task bar, in 32-bit pixels.
  constexpr int kWidth = kIconSlot * kSlotsLooked + kReferenceGap;
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = kWidth;
  info.bmiHeader.biHeight = -kTaskBarHeight;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  void* bits = nullptr;
  HBITMAP copy =
      CreateDIBSection(memory, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previous = SelectObject(memory, copy);
  const BOOL copied =
      BitBlt(memory, 0, 0, kWidth, kTaskBarHeight, screen,
             kScreenWidth - kWidth, kScreenHeight - kTaskBarHeight, SRCCOPY);
  int count = 0;
  if (copied != FALSE && bits != nullptr) {
    const auto* pixels = static_cast<const DWORD*>(bits);
    const auto at = [&](int x, int y) {
      return pixels[y * kWidth + x] & 0xFFFFFF;
    };
    // Left of the slots looked at: the task bar's own colour.
    const DWORD background = at(kReferenceGap / 2, kTaskBarHeight / 2);
    const auto slotPainted = [&](int slot) {
      const int right = kWidth - slot * kIconSlot;
      for (int y = 2; y < kTaskBarHeight - 2; ++y) {
        for (int x = right - kIconSlot + 2; x < right - 2; ++x) {
          if (at(x, y) != background) {
            return true;
          }
        }
      }
      return false;
    };
    while (count < kSlotsLooked && slotPainted(count)) {
      ++count;
    }
  }
  SelectObject(memory, previous);
  DeleteObject(copy);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return count;
}

bool HasTaskBarButton(HWND window) {
  HWND taskBar = TaskBar();
  if (taskBar == nullptr) {
    return false;
  }
  // Explorer gives each window's button the window's handle as its ID.
  const std::vector<HWND> buttons = ChildWindowsOf(taskBar);
  return std::any_of(buttons.begin(), buttons.end(), [&](HWND button) {
    return GetWindowLongPtrW(button, GWLP_ID) ==
               reinterpret_cast<LONG_PTR>(window) &&
           Visible(button);
  });
}

POINT NotificationIconCentre() {
  return {kScreenWidth - kIconSlot / 2, kScreenHeight - kTaskBarHeight / 2};
}

bool Xdotool(std::string_view arguments) {
  const auto status =
      RunUnixShell("xdotool " + std::string(arguments), kXdotoolTimeout);
  return status.has_value() && *status == 0;
}

// The pointer leaves afterwards, so that no tool tip covers the icons.
constexpr std::string_view kPointerAway = " mousemove 512 100";

bool ClickAt(POINT point, int button) {
  return Xdotool("mousemove " + std::to_string(point.x) + " " +
                 std::to_string(point.y) + " click " + std::to_string(button) +
                 std::string(kPointerAway));
}

bool DoubleClickAt(POINT point) {
  return Xdotool("mousemove " + std::to_string(point.x) + " " +
                 std::to_string(point.y) + " click --repeat 2 --delay 80 1" +
                 std::string(kPointerAway));
}

bool PressKeys(std::string_view keys) {
  return Xdotool("key " + std::string(keys));
}

bool HasXKeyboardFocus(HWND window) {
  // Wine's X11 driver names each top-level window's X window in a property.
  const auto xWindow = reinterpret_cast<std::uintptr_t>(
      GetPropW(window, L"__wine_x11_whole_window"));
  return xWindow != 0 &&
         Xdotool("getwindowfocus | grep -qx " + std::to_string(xWindow));
}

}  // namespace qiro::e2e
