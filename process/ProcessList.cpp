#include "process/ProcessList.h"

#include "process/EntryExeName.h"

namespace qiro {
namespace {

// The table starts with room for this many processes and grows beyond it, so
// that a busy system's processes all appear and no record is ever written
// past the table's end.
constexpr std::size_t kInitialTableSize = 1024;

ProcessInfo ToProcessInfo(const ProcessEntry& entry) {
  return ProcessInfo{
      .ProcessId = entry.processId,
      .ExeName = Text(EntryExeName(entry)),
      .ModuleId = entry.moduleId,
      .ParentProcessId = entry.parentProcessId,
      .BasePriority = entry.basePriority,
      .ThreadCount = entry.threadCount,
  };
}

}  // namespace

std::vector<ProcessInfo> ListSystemProcesses(ProcessServices& processes) {
  std::vector<ProcessInfo> list;
  const OwnedHandle snapshot = processes.CreateSnapshot(kSnapProcesses, 0);
  if (!snapshot) {
    return list;
  }
  list.reserve(kInitialTableSize);
  ProcessEntry entry;
  for (bool more = processes.FirstProcess(snapshot.Get(), entry); more;
       more = processes.NextProcess(snapshot.Get(), entry)) {
    list.push_back(ToProcessInfo(entry));
  }
  return list;
}

}  // namespace qiro
