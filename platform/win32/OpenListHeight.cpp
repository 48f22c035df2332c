#include "platform/win32/OpenListHeight.h"

#include <commctrl.h>

#include <algorithm>
#include <new>

namespace qiro::win32 {
namespace {

constexpr UINT_PTR kSubclassId = 1;

// What the open list is measured against. The list window owns it.
struct OpenListSpan {
  HWND comboBox = nullptr;
  int droppedHeight = 0;
};

int HeightOf(const RECT& rect) { return rect.bottom - rect.top; }

// The height at which the list shows every item: a shorter list than the
// span is right when there are only a few.
int HeightForAllItems(HWND list) {
  RECT frame{};
  RECT client{};
  if (GetWindowRect(list, &frame) == FALSE ||
      GetClientRect(list, &client) == FALSE) {
    return 0;
  }
  const auto count = static_cast<int>(SendMessageW(list, LB_GETCOUNT, 0, 0));
  const auto itemHeight =
      static_cast<int>(SendMessageW(list, LB_GETITEMHEIGHT, 0, 0));
  if (count <= 0 || itemHeight <= 0) {
    return 0;
  }
  return count * itemHeight + HeightOf(frame) - HeightOf(client);
}

bool FitsOnMonitor(HWND comboBox, int bottom) {
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  return GetMonitorInfoW(MonitorFromWindow(comboBox, MONITOR_DEFAULTTONEAREST),
                         &monitor) != FALSE &&
         bottom <= monitor.rcWork.bottom;
}

// Only the move that shows the list is touched, and only made taller: a
// list opened above the field, or cut short by the screen's edge, is left
// as the combo box placed it.
void FitShowingList(HWND list, const OpenListSpan& span, WINDOWPOS& position) {
  if ((position.flags & SWP_SHOWWINDOW) == 0 ||
      (position.flags & SWP_NOSIZE) != 0) {
    return;
  }
  RECT field{};
  if (GetWindowRect(span.comboBox, &field) == FALSE ||
      position.y != field.bottom) {
    return;
  }
  const int wanted =
      std::min(span.droppedHeight - HeightOf(field), HeightForAllItems(list));
  if (position.cy < wanted &&
      FitsOnMonitor(span.comboBox, field.bottom + wanted)) {
    position.cy = wanted;
  }
}

LRESULT CALLBACK OpenListProcedure(HWND list, UINT message, WPARAM wParam,
                                   LPARAM lParam, UINT_PTR /*subclassId*/,
                                   DWORD_PTR data) {
  auto* const span = reinterpret_cast<OpenListSpan*>(data);
  switch (message) {
    case WM_WINDOWPOSCHANGING: {
      // The list's own sizing comes first; this only corrects its result.
      const LRESULT result = DefSubclassProc(list, message, wParam, lParam);
      FitShowingList(list, *span, *reinterpret_cast<WINDOWPOS*>(lParam));
      return result;
    }
    case WM_NCDESTROY:
      RemoveWindowSubclass(list, OpenListProcedure, kSubclassId);
      delete span;
      break;
    default:
      break;
  }
  return DefSubclassProc(list, message, wParam, lParam);
}

}  // namespace

bool KeepOpenListHeight(HWND comboBox, int droppedHeight) {
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof(parts);
  if (GetComboBoxInfo(comboBox, &parts) == FALSE || parts.hwndList == nullptr) {
    return false;
  }
  // The list window owns the span from here and frees it as it goes.
  auto* const span = new (std::nothrow) OpenListSpan{comboBox, droppedHeight};
  if (span == nullptr) {
    return false;
  }
  if (SetWindowSubclass(parts.hwndList, OpenListProcedure, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(span)) == FALSE) {
    delete span;
    return false;
  }
  return true;
}

}  // namespace qiro::win32
