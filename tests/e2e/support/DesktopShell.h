#pragma once

#include <windows.h>

#include <string_view>

#include "support/Eventually.h"

namespace qiro::e2e {

// The virtual desktop's shell as Wine's explorer draws it: a task bar with
// a button per shown top-level window (a child button whose ID is the
// window's handle) and, at its right end, the notification area, where
// explorer paints the icons into slots of 20 pixels from the right. The
// icons are no windows, so they are counted from the screen's pixels;
// input reaches them only from the X server, through xdotool.

inline constexpr int kScreenWidth = 1024;
inline constexpr int kScreenHeight = 700;

HWND TaskBar();
// How many notification icons the task bar shows now.
int NotificationIconCount();
// The task-bar button of a top-level window, if it has a visible one.
bool HasTaskBarButton(HWND window);

// The middle of the first icon's slot, in screen (and X) coordinates.
POINT NotificationIconCentre();

// xdotool on the X display that carries the virtual desktop; true once it
// has run and succeeded.
bool Xdotool(std::string_view arguments);
bool ClickAt(POINT point, int button);
bool DoubleClickAt(POINT point);
bool PressKeys(std::string_view keys);

// Whether the X server sends key presses to this top-level window now.
// Wine gives a window the Win32 focus at once but asks the X server for it
// in passing: a key typed between the two goes to the window that had the
// X focus before, and is lost.
bool HasXKeyboardFocus(HWND window);

}  // namespace qiro::e2e
