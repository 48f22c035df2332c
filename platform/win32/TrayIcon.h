#pragma once

// shellapi.h needs the declarations of windows.h before it.
// clang-format off
#include <windows.h>
#include <shellapi.h>
// clang-format on

#include <cstddef>
#include <span>

#include "platform/Text.h"
#include "platform/win32/Owned.h"

namespace qiro::win32 {

// The window's one icon in the notification area, known to the shell by
// the window and an ID of 1. It is removed when this goes out of scope.
class TrayIcon {
 public:
  // fallbackPicture is shown when the icon file gives no picture; it must
  // outlive this.
  TrayIcon(HWND window, UINT callbackMessage, HICON fallbackPicture);
  TrayIcon(const TrayIcon&) = delete;
  TrayIcon& operator=(const TrayIcon&) = delete;
  ~TrayIcon();

  // The first call adds the icon; later ones replace its picture and tip,
  // so that there is always exactly one. The tip is code page 936 and keeps
  // its first 62 bytes.
  void Show(std::span<const std::byte> iconFile, TextView tip);
  // Puts the icon back into a notification area that has been made anew
  // (the shell broadcasts "TaskbarCreated" when it restarts).
  void Restore();

 private:
  bool Put(bool shellHasIcon);
  bool Add();

  NOTIFYICONDATAW data_{};
  HICON fallbackPicture_;
  OwnedIcon picture_;
  bool added_ = false;
};

// The TrayEvent action that a callback message of the icon stands for, from
// its lParam: 1 left button up, 2 left double click, 3 right button up or
// the context menu; 0 for anything else, which raises no event.
int TrayActionOf(LPARAM callbackLParam);

}  // namespace qiro::win32
