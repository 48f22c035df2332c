#include "support/WindowQueries.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <utility>

namespace qiro::e2e {
namespace {

constexpr UINT kSendTimeoutMs = 5000;

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM context) {
  // EnumWindows hands back the pointer it was given, as an LPARAM.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  auto* found = reinterpret_cast<std::pair<DWORD, std::vector<HWND>>*>(context);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  if (owner == found->first) {
    found->second.push_back(window);
  }
  return TRUE;
}

}  // namespace

bool Exists(HWND window) { return IsWindow(window) != FALSE; }
bool Visible(HWND window) { return IsWindowVisible(window) != FALSE; }
bool Enabled(HWND window) { return IsWindowEnabled(window) != FALSE; }

LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                   bool* answered) {
  DWORD_PTR result = 0;
  const LRESULT ok = SendMessageTimeoutW(window, message, wParam, lParam,
                                         SMTO_ABORTIFHUNG | SMTO_BLOCK,
                                         kSendTimeoutMs, &result);
  if (answered != nullptr) {
    *answered = ok != 0;
  }
  return static_cast<LRESULT>(result);
}

std::vector<HWND> TopLevelWindowsOf(DWORD processId) {
  std::pair<DWORD, std::vector<HWND>> found{processId, {}};
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&found));
  return found.second;
}

std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId) {
  const std::vector<HWND> windows = TopLevelWindowsOf(processId);
  std::vector<HWND> visible;
  std::copy_if(windows.begin(), windows.end(), std::back_inserter(visible),
               [](HWND window) { return Visible(window); });
  return visible;
}

std::vector<HWND> ChildWindowsOf(HWND parent) {
  std::vector<HWND> children;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    children.push_back(child);
  }
  return children;
}

std::wstring TextOf(HWND window) {
  const auto length = SendWithin(window, WM_GETTEXTLENGTH, 0, 0);
  if (length <= 0) {
    return {};
  }
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  const auto copied = SendWithin(window, WM_GETTEXT, text.size(),
                                 reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return text;
}

std::wstring ClassOf(HWND window) {
  std::array<wchar_t, 256> name{};
  const int length =
      GetClassNameW(window, name.data(), static_cast<int>(name.size()));
  return {name.data(), static_cast<std::size_t>(length > 0 ? length : 0)};
}

LONG StyleOf(HWND window) { return GetWindowLongW(window, GWL_STYLE); }
LONG ExStyleOf(HWND window) { return GetWindowLongW(window, GWL_EXSTYLE); }

RECT WindowRectOf(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

RECT RectInParentClient(HWND child) {
  RECT rect = WindowRectOf(child);
  MapWindowPoints(HWND_DESKTOP, GetParent(child),
                  reinterpret_cast<POINT*>(&rect), 2);
  return rect;
}

HWND MessageBoxOf(DWORD processId, const std::wstring& title) {
  const std::vector<HWND> windows = VisibleTopLevelWindowsOf(processId);
  const auto found =
      std::find_if(windows.begin(), windows.end(), [&](HWND window) {
        return ClassOf(window) == L"#32770" && TextOf(window) == title;
      });
  return found != windows.end() ? *found : nullptr;
}

std::vector<std::wstring> StaticTextsOf(HWND dialog) {
  std::vector<std::wstring> texts;
  for (HWND child : ChildWindowsOf(dialog)) {
    if (ClassOf(child) == L"Static") {
      std::wstring text = TextOf(child);
      if (!text.empty()) {
        texts.push_back(std::move(text));
      }
    }
  }
  return texts;
}

bool PressOk(HWND dialog) {
  HWND ok = GetDlgItem(dialog, IDOK);
  return ok != nullptr && PostMessageW(ok, BM_CLICK, 0, 0) != 0;
}

int ComboCount(HWND combo) {
  return static_cast<int>(SendWithin(combo, CB_GETCOUNT, 0, 0));
}

int ComboSelection(HWND combo) {
  return static_cast<int>(SendWithin(combo, CB_GETCURSEL, 0, 0));
}

std::vector<std::wstring> ComboItems(HWND combo) {
  std::vector<std::wstring> items;
  const int count = ComboCount(combo);
  for (int index = 0; index < count; ++index) {
    const auto length =
        SendWithin(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
    std::wstring text(static_cast<std::size_t>(length > 0 ? length : 0) + 1,
                      L'\0');
    const auto copied =
        SendWithin(combo, CB_GETLBTEXT, static_cast<WPARAM>(index),
                   reinterpret_cast<LPARAM>(text.data()));
    text.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
    items.push_back(std::move(text));
  }
  return items;
}

std::string Describe(const RECT& rect) {
  return "(" + std::to_string(rect.left) + "," + std::to_string(rect.top) +
         ")-(" + std::to_string(rect.right) + "," +
         std::to_string(rect.bottom) + ") " +
         std::to_string(rect.right - rect.left) + "x" +
         std::to_string(rect.bottom - rect.top);
}

}  // namespace qiro::e2e
