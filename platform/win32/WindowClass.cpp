#include "platform/win32/WindowClass.h"

namespace qiro::win32 {
namespace {

ATOM Register(HINSTANCE instance, LPCWSTR name, WNDPROC procedure,
              HICON bigIcon, HICON smallIcon) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.hIcon = bigIcon;
  windowClass.hIconSm = smallIcon;
  windowClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  // No class brush: the window paints its own background, with a brush
  // that it owns (the system would delete a class brush by itself).
  windowClass.lpszClassName = name;
  return RegisterClassExW(&windowClass);
}

}  // namespace

WindowClass::WindowClass(HINSTANCE instance, LPCWSTR name, WNDPROC procedure,
                         HICON bigIcon, HICON smallIcon)
    : instance_(instance),
      name_(name),
      atom_(Register(instance, name, procedure, bigIcon, smallIcon)) {}

WindowClass::~WindowClass() {
  if (atom_ != 0) {
    UnregisterClassW(name_, instance_);
  }
}

}  // namespace qiro::win32
