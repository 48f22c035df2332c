#include "platform/win32/TrayIcon.h"

#include <algorithm>
#include <iterator>
#include <string>
#include <utility>

#include "platform/TrayTip.h"
#include "platform/win32/CodePage.h"
#include "platform/win32/IconPicture.h"

namespace qiro::win32 {
namespace {

constexpr UINT kIconId = 1;

void CopyTip(TextView tip, NOTIFYICONDATAW& data) {
  const std::wstring wide =
      Widen(KeepWholeCharacters(tip, kTrayTipBytes), kProgramCodePage);
  const std::size_t length = std::min(wide.size(), std::size(data.szTip) - 1);
  std::copy_n(wide.begin(), length, std::begin(data.szTip));
  data.szTip[length] = L'\0';
}

}  // namespace

TrayIcon::TrayIcon(HWND window, UINT callbackMessage, HICON fallbackPicture)
    : fallbackPicture_(fallbackPicture) {
  data_.cbSize = sizeof(data_);
  data_.hWnd = window;
  data_.uID = kIconId;
  // NIF_SHOWTIP: with version 4 the shell shows the standard tip only
  // when asked to.
  data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_SHOWTIP;
  data_.uCallbackMessage = callbackMessage;
}

TrayIcon::~TrayIcon() {
  // Even when the last add seemed to fail: the shell may have taken it
  // after a time-out, and deleting an unknown icon does no harm.
  Shell_NotifyIconW(NIM_DELETE, &data_);
}

void TrayIcon::Show(std::span<const std::byte> iconFile, TextView tip) {
  OwnedIcon picture = IconPictureOf(iconFile, GetSystemMetrics(SM_CXSMICON));
  data_.hIcon = picture ? picture.Get() : fallbackPicture_;
  CopyTip(tip, data_);
  added_ = Put(added_);
  // The earlier picture goes only now that the shell has the new one.
  picture_ = std::move(picture);
}

void TrayIcon::Restore() { added_ = Put(false); }

// Replaces the shell's icon when it has one, else adds it; when the shell
// turns the one down (it lost the icon, or took it after a time-out), the
// other is tried. The window and ID name the icon, so the shell never
// holds two.
bool TrayIcon::Put(bool shellHasIcon) {
  if (shellHasIcon && Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE) {
    return true;
  }
  if (Add()) {
    return true;
  }
  return !shellHasIcon && Shell_NotifyIconW(NIM_MODIFY, &data_) != FALSE;
}

bool TrayIcon::Add() {
  if (Shell_NotifyIconW(NIM_ADD, &data_) == FALSE) {
    return false;
  }
  data_.uVersion = NOTIFYICON_VERSION_4;
  Shell_NotifyIconW(NIM_SETVERSION, &data_);
  return true;
}

int TrayActionOf(LPARAM callbackLParam) {
  // Version 4 puts the mouse message into the low word (the icon's ID is in
  // the high word); earlier versions pass it whole, low word alike.
  switch (LOWORD(callbackLParam)) {
    case WM_LBUTTONUP:
      return 1;
    case WM_LBUTTONDBLCLK:
      return 2;
    case WM_RBUTTONUP:
    case WM_CONTEXTMENU:
      return 3;
    default:
      return 0;
  }
}

}  // namespace qiro::win32
