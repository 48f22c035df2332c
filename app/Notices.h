#pragma once

#include "platform/WindowToolkit.h"

namespace qiro {

// Message boxes with flags 0: one OK button, no icon, no owner, modal for
// the whole program. Each waits until the user dismisses it.

// Handler of the main window's Created, before the window is on screen.
void ShowStartupNotice(WindowToolkit& toolkit);

// Handler of the main window's Destroying, once it has left the screen.
void ShowClosingNotice(WindowToolkit& toolkit);

// Shown instead of the window when it cannot be built.
void ShowBuildFailedNotice(WindowToolkit& toolkit);

}  // namespace qiro
