#pragma once

#include "platform/ProcessServices.h"
#include "platform/Text.h"
#include "platform/WindowToolkit.h"

namespace qiro {

// Opens the process for this one change, sets its priority class and closes
// it again. An ID of 0, or a process that cannot be opened, changes nothing.
void SetProcessPriority(ProcessServices& processes, ProcessId processId,
                        PriorityClass priorityClass);

// Sets the normal priority class on the process with this ID, but only while
// that ID still belongs to a program named exeName: an ID outlives its
// process and may by now be another program's.
void RestoreNormalPriority(ProcessServices& processes, ProcessId processId,
                           TextView exeName);

// The start/stop switch on the switch button. Its state is the button's
// caption; the only thing it keeps itself is the process found at switch-on.
class OptimisationSwitch {
 public:
  OptimisationSwitch(WindowToolkit& toolkit, ProcessServices& processes)
      : toolkit_(toolkit), processes_(processes) {}

  // Handler of the switch button's Clicked.
  void OnClicked();

  [[nodiscard]] ProcessId TargetProcessId() const { return targetProcessId_; }

 private:
  void SwitchOn();
  void SwitchOff();

  WindowToolkit& toolkit_;
  ProcessServices& processes_;
  ProcessId targetProcessId_ = kNoProcess;
};

}  // namespace qiro
