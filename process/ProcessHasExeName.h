#pragma once

#include "platform/ProcessServices.h"
#include "platform/Text.h"

namespace qiro {

// True when a fresh snapshot holds a process with this ID whose executable
// name matches exeName with the letters A to Z folded. Windows hands the ID
// of an ended process to the next one it starts, so an ID kept for a while
// names the same program only as long as this holds.
bool ProcessHasExeName(ProcessServices& processes, ProcessId processId,
                       TextView exeName);

}  // namespace qiro
