#include "process/ProcessHasExeName.h"

#include "process/EntryExeName.h"
#include "process/NameComparison.h"

namespace qiro {

bool ProcessHasExeName(ProcessServices& processes, ProcessId processId,
                       TextView exeName) {
  if (processId == kNoProcess) {
    return false;
  }
  const OwnedHandle snapshot = processes.CreateSnapshot(kSnapProcesses, 0);
  if (!snapshot) {
    return false;
  }
  ProcessEntry entry;
  for (bool more = processes.FirstProcess(snapshot.Get(), entry); more;
       more = processes.NextProcess(snapshot.Get(), entry)) {
    if (entry.processId == processId) {
      return NamesEqualIgnoringCase(EntryExeName(entry), exeName);
    }
  }
  return false;
}

}  // namespace qiro
