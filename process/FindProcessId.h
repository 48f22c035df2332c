#pragma once

#include "platform/ProcessServices.h"
#include "platform/Text.h"

namespace qiro {

// The case-sensitivity flag that folds the letters A to Z, as the chooser's
// names are matched.
inline constexpr int kIgnoreCase = 0;

// The ID of the first process of a fresh snapshot whose executable name
// matches: exactly when caseSensitive is not 0, else with the letters A to Z
// folded. 0 when none matches or no snapshot can be taken.
ProcessId FindProcessId(ProcessServices& processes, TextView exeName,
                        int caseSensitive);

}  // namespace qiro
