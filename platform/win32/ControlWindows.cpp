#include "platform/win32/ControlWindows.h"

#include <commctrl.h>

#include <algorithm>
#include <iterator>
#include <string>

#include "platform/win32/CodePage.h"
#include "platform/win32/OpenListHeight.h"

namespace qiro::win32 {
namespace {

// The open list of a drop-down list reaches at least this far down, the
// closed control included.
constexpr int kMinDroppedHeight = 160;

struct WindowKind {
  LPCWSTR className = nullptr;
  DWORD style = 0;
};

WindowKind WindowKindOf(ControlKind kind) {
  switch (kind) {
    case ControlKind::TransparentLabel:
      // One line, vertically centred, shown as written (no & mnemonics).
      // It paints only its text: the colours come from the parent.
      return {WC_STATICW, SS_LEFTNOWORDWRAP | SS_CENTERIMAGE | SS_NOPREFIX};
    case ControlKind::DropDownList:
      // Without integral height the open list keeps the height it is
      // given instead of the theme's count of visible items.
      return {WC_COMBOBOXW,
              CBS_DROPDOWNLIST | CBS_NOINTEGRALHEIGHT | WS_VSCROLL};
    case ControlKind::CheckBox:
      return {WC_BUTTONW, BS_AUTOCHECKBOX | BS_LEFT | BS_VCENTER};
    case ControlKind::PushButton:
      return {WC_BUTTONW, BS_PUSHBUTTON | BS_CENTER | BS_VCENTER};
    case ControlKind::Timer:
      break;
  }
  return {};
}

int WindowHeightOf(const ControlLayout& layout) {
  // A combo box's window height is that of its open list.
  return layout.kind == ControlKind::DropDownList
             ? std::max(layout.height, kMinDroppedHeight)
             : layout.height;
}

// The items are one pixel taller than the default for the font, so this
// comes after the font. Some combo boxes pass CB_SETITEMHEIGHT on to their
// list only when owner-drawn (Wine's among them); the list box itself
// takes it in any style, so it is told as well.
void RaiseItemHeight(HWND comboBox, int droppedHeight) {
  const LRESULT itemHeight = SendMessageW(comboBox, CB_GETITEMHEIGHT, 0, 0);
  if (itemHeight <= 0) {
    return;
  }
  SendMessageW(comboBox, CB_SETITEMHEIGHT, 0, itemHeight + 1);
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof(parts);
  if (GetComboBoxInfo(comboBox, &parts) != FALSE && parts.hwndList != nullptr) {
    SendMessageW(parts.hwndList, LB_SETITEMHEIGHT, 0, itemHeight + 1);
  }
  // The closed field shrank to the new font, but the open list was sized
  // for the old one; sizing the control again makes the two add up to the
  // dropped height once more.
  RECT frame{};
  if (GetWindowRect(comboBox, &frame) != FALSE) {
    SetWindowPos(comboBox, nullptr, 0, 0, frame.right - frame.left,
                 droppedHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }
}

void SetInitialState(HWND control, const ControlLayout& layout) {
  switch (layout.kind) {
    case ControlKind::DropDownList:
      RaiseItemHeight(control, WindowHeightOf(layout));
      KeepOpenListHeight(control, WindowHeightOf(layout));
      break;
    case ControlKind::CheckBox:
      SendMessageW(control, BM_SETCHECK,
                   layout.checked != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
      break;
    default:
      break;
  }
}

}  // namespace

OwnedFont CreateControlFont(const FontLayout& font) {
  LOGFONTW logFont{};
  logFont.lfHeight = font.height;
  logFont.lfWidth = font.width;
  logFont.lfWeight = font.weight;
  logFont.lfItalic = font.italic ? TRUE : FALSE;
  logFont.lfUnderline = font.underline ? TRUE : FALSE;
  logFont.lfStrikeOut = font.strikeOut ? TRUE : FALSE;
  logFont.lfCharSet = font.charSet;
  logFont.lfOutPrecision = font.outPrecision;
  logFont.lfClipPrecision = font.clipPrecision;
  logFont.lfQuality = font.quality;
  logFont.lfPitchAndFamily = font.pitchAndFamily;
  const std::wstring face = Widen(font.faceName, kProgramCodePage);
  face.copy(std::data(logFont.lfFaceName), std::size(logFont.lfFaceName) - 1);
  return OwnedFont(CreateFontIndirectW(&logFont));
}

HWND CreateControlWindow(HWND parent, const ControlLayout& layout, int id,
                         HFONT font) {
  const WindowKind kind = WindowKindOf(layout.kind);
  if (kind.className == nullptr) {
    return nullptr;
  }
  const DWORD style = WS_CHILD | kind.style | (layout.tabStop ? WS_TABSTOP : 0);
  const HWND control = CreateWindowExW(
      0, kind.className, Widen(layout.text, kProgramCodePage).c_str(), style,
      layout.left, layout.top, layout.width, WindowHeightOf(layout), parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
      reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)),
      nullptr);
  if (control == nullptr) {
    return nullptr;
  }
  SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
  SetInitialState(control, layout);
  return control;
}

}  // namespace qiro::win32
