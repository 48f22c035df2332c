#include "optimise/WorkingSetTrimming.h"

#include "optimise/SelectedProcessName.h"
#include "process/FindProcessId.h"

namespace qiro {
namespace {

constexpr int kTrimmed = 1;
constexpr int kNotTrimmed = 0;

}  // namespace

int TrimProcessWorkingSet(ProcessServices& processes, ProcessId processId) {
  if (processId == kNoProcess) {
    return kNotTrimmed;
  }
  const OwnedHandle process =
      processes.OpenProcess(kProcessAllAccess, false, processId);
  if (!process) {
    return kNotTrimmed;
  }
  return processes.SetProcessWorkingSetSize(process.Get(), kEmptyWorkingSet,
                                            kEmptyWorkingSet)
             ? kTrimmed
             : kNotTrimmed;
}

int TrimOwnWorkingSet(ProcessServices& processes) {
  return processes.SetProcessWorkingSetSize(processes.CurrentProcess(),
                                            kEmptyWorkingSet, kEmptyWorkingSet)
             ? kTrimmed
             : kNotTrimmed;
}

void OnTrimTimerTick(WindowToolkit& toolkit, ProcessServices& processes) {
  const ProcessId target =
      FindProcessId(processes, SelectedProcessName(toolkit), kIgnoreCase);
  static_cast<void>(TrimProcessWorkingSet(processes, target));
}

}  // namespace qiro
