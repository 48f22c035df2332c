#pragma once

#include <windows.h>

namespace qiro::win32 {

// A window class of the program's own, registered for as long as this
// lives. Its icons must outlive it.
class WindowClass {
 public:
  WindowClass(HINSTANCE instance, LPCWSTR name, WNDPROC procedure,
              HICON bigIcon, HICON smallIcon);
  WindowClass(const WindowClass&) = delete;
  WindowClass& operator=(const WindowClass&) = delete;
  ~WindowClass();

  explicit operator bool() const noexcept { return atom_ != 0; }
  [[nodiscard]] LPCWSTR Name() const noexcept { return name_; }

 private:
  HINSTANCE instance_;
  LPCWSTR name_;
  ATOM atom_;
};

}  // namespace qiro::win32
