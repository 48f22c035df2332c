#pragma once

#include "platform/ProcessServices.h"
#include "platform/WindowToolkit.h"

namespace qiro {

// Empties the working set of the process with this ID: 1 when it was
// emptied, 0 when the process cannot be opened or the call fails.
int TrimProcessWorkingSet(ProcessServices& processes, ProcessId processId);

// Empties the program's own working set: 1 on success, 0 on failure.
int TrimOwnWorkingSet(ProcessServices& processes);

// Handler of the memory timer's Tick: trims the process that the chooser's
// selected name finds now.
void OnTrimTimerTick(WindowToolkit& toolkit, ProcessServices& processes);

}  // namespace qiro
