#pragma once

#include <windows.h>

#include <utility>

namespace qiro::win32 {

// Owns one Windows handle or GDI object and gives it back to the system
// with Releaser when it goes out of scope, so that it is released on every
// path. Releaser is a function object type rather than a function pointer
// because the system's functions are imported from DLLs.
template <typename Handle, typename Releaser>
class Owned {
 public:
  Owned() = default;
  explicit Owned(Handle handle) noexcept : handle_(handle) {}
  Owned(Owned&& other) noexcept : handle_(other.Detach()) {}
  Owned& operator=(Owned&& other) noexcept {
    if (this != &other) {
      Reset(other.Detach());
    }
    return *this;
  }
  Owned(const Owned&) = delete;
  Owned& operator=(const Owned&) = delete;
  ~Owned() { Reset(); }

  [[nodiscard]] Handle Get() const noexcept { return handle_; }
  explicit operator bool() const noexcept { return handle_ != Handle{}; }

  // The handle is taken out first, so that whatever the release sets off
  // (a window's last messages, for instance) already sees the new one.
  void Reset(Handle handle = Handle{}) noexcept {
    const Handle old = std::exchange(handle_, handle);
    if (old != Handle{}) {
      Releaser{}(old);
    }
  }

  // Gives up ownership without releasing: for a handle that the system
  // has already released.
  Handle Detach() noexcept { return std::exchange(handle_, Handle{}); }

 private:
  Handle handle_{};
};

struct WindowDestroyer {
  void operator()(HWND window) const noexcept { DestroyWindow(window); }
};
struct GdiObjectDeleter {
  void operator()(HGDIOBJ object) const noexcept { DeleteObject(object); }
};
struct IconDestroyer {
  void operator()(HICON icon) const noexcept { DestroyIcon(icon); }
};

using OwnedWindow = Owned<HWND, WindowDestroyer>;
using OwnedFont = Owned<HFONT, GdiObjectDeleter>;
using OwnedBrush = Owned<HBRUSH, GdiObjectDeleter>;
using OwnedIcon = Owned<HICON, IconDestroyer>;

}  // namespace qiro::win32
