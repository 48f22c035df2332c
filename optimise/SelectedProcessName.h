#pragma once

#include "platform/Text.h"
#include "platform/WindowToolkit.h"

namespace qiro {

// The text of the item selected in the process chooser; empty when nothing
// is selected.
Text SelectedProcessName(const WindowToolkit& toolkit);

}  // namespace qiro
