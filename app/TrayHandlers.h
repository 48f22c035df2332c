#pragma once

#include <cstddef>
#include <span>

#include "platform/WindowToolkit.h"

namespace qiro {

// Handler of the hide button's Clicked: hides the main window behind its
// notification-area icon, placing the icon at the first press and renewing
// the same one at every later press.
void HideToTray(WindowToolkit& toolkit, std::span<const std::byte> iconFile);

// Handler of the main window's TrayEvent: a release of the left button
// hides a shown window, or shows a hidden one centred; nothing else acts.
void OnTrayEvent(WindowToolkit& toolkit, int action);

}  // namespace qiro
