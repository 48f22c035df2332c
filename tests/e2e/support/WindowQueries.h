#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qiro::e2e {

// What another program can read about a window, through the W APIs only
// (Wine answers a cross-process A message for a combo box with UTF-16).

// The BOOL answers of user32 as bool.
bool Exists(HWND window);
bool Visible(HWND window);
bool Enabled(HWND window);

std::vector<HWND> TopLevelWindowsOf(DWORD processId);
std::vector<HWND> VisibleTopLevelWindowsOf(DWORD processId);
std::vector<HWND> ChildWindowsOf(HWND parent);

std::wstring TextOf(HWND window);
std::wstring ClassOf(HWND window);
LONG StyleOf(HWND window);
LONG ExStyleOf(HWND window);
RECT WindowRectOf(HWND window);
// A child's window rectangle in its parent's client coordinates.
RECT RectInParentClient(HWND child);

// A visible message box (#32770) of the process with that title, or null.
HWND MessageBoxOf(DWORD processId, const std::wstring& title);
// The texts of the static controls of a dialog, in child order.
std::vector<std::wstring> StaticTextsOf(HWND dialog);
// Presses OK (ID 1) the way a click does.
bool PressOk(HWND dialog);

// Combo box items, read with the W messages.
int ComboCount(HWND combo);
int ComboSelection(HWND combo);
std::vector<std::wstring> ComboItems(HWND combo);

// Sends a message with a time limit, so that a hung program fails the test
// instead of hanging it.
LRESULT SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                   bool* answered = nullptr);

std::string Describe(const RECT& rect);

}  // namespace qiro::e2e
