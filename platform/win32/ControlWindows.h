#pragma once

#include <windows.h>

#include "platform/WindowLayout.h"
#include "platform/win32/Owned.h"

namespace qiro::win32 {

// The controls' font from the layout; empty if the system cannot make it.
OwnedFont CreateControlFont(const FontLayout& font);

// The child window of one layout row with the given ID, not yet visible,
// with its font, its text and its initial state. Nothing for a timer, which
// has no window, or when the window cannot be created.
HWND CreateControlWindow(HWND parent, const ControlLayout& layout, int id,
                         HFONT font);

}  // namespace qiro::win32
