#pragma once

#include "platform/WindowLayout.h"

namespace qiro {

// Milliseconds between two trims of a working set.
inline constexpr int kTrimPeriodMs = 200;

// The fixed layout of the main window: its settings and its nine controls.
const WindowLayout& MainWindowLayout();

}  // namespace qiro
