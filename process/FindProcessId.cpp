#include "process/FindProcessId.h"

#include "process/EntryNameMatcher.h"

namespace qiro {

ProcessId FindProcessId(ProcessServices& processes, TextView exeName,
                        int caseSensitive) {
  const OwnedHandle snapshot = processes.CreateSnapshot(kSnapProcesses, 0);
  if (!snapshot) {
    return kNoProcess;
  }
  const EntryNameMatcher matcher(exeName, caseSensitive);
  ProcessEntry entry;
  for (bool more = processes.FirstProcess(snapshot.Get(), entry); more;
       more = processes.NextProcess(snapshot.Get(), entry)) {
    if (matcher.Matches(entry)) {
      return entry.processId;
    }
  }
  return kNoProcess;
}

}  // namespace qiro
