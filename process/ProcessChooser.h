#pragma once

#include "platform/ProcessServices.h"
#include "platform/WindowToolkit.h"

namespace qiro {

// Refills the process chooser with the executable name of every running
// process, in snapshot order. Bound to the chooser's ListOpening.
void RefreshProcessChooser(WindowToolkit& toolkit, ProcessServices& processes);

}  // namespace qiro
