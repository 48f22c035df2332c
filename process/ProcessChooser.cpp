#include "process/ProcessChooser.h"

#include "app/MainWindowControls.h"
#include "process/ProcessList.h"

namespace qiro {

void RefreshProcessChooser(WindowToolkit& toolkit, ProcessServices& processes) {
  toolkit.RemoveAllItems(controls::kProcessChooser);
  const std::vector<ProcessInfo> list = ListSystemProcesses(processes);
  for (const ProcessInfo& process : list) {
    // A refused item is simply missing; the rest of the list still goes in.
    static_cast<void>(
        toolkit.AppendItem(controls::kProcessChooser, process.ExeName));
  }
}

}  // namespace qiro
