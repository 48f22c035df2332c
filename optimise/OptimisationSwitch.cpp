#include "optimise/OptimisationSwitch.h"

#include "app/MainWindowControls.h"
#include "app/MainWindowLayout.h"
#include "app/Texts.h"
#include "optimise/SelectedProcessName.h"
#include "process/FindProcessId.h"
#include "process/ProcessHasExeName.h"

namespace qiro {
namespace {

constexpr int kTicked = 1;
constexpr int kLocked = 1;
constexpr int kUnlocked = 0;
constexpr int kStopped = 0;

}  // namespace

void SetProcessPriority(ProcessServices& processes, ProcessId processId,
                        PriorityClass priorityClass) {
  if (processId == kNoProcess) {
    return;
  }
  const OwnedHandle process =
      processes.OpenProcess(kProcessAllAccess, false, processId);
  if (process) {
    static_cast<void>(processes.SetPriorityClass(process.Get(), priorityClass));
  }
}

void RestoreNormalPriority(ProcessServices& processes, ProcessId processId,
                           TextView exeName) {
  if (processId == kNoProcess) {
    return;
  }
  // The open handle keeps the ID from passing to another process while the
  // name is checked, so the class is never changed on a stranger.
  const OwnedHandle process =
      processes.OpenProcess(kProcessAllAccess, false, processId);
  if (process && ProcessHasExeName(processes, processId, exeName)) {
    static_cast<void>(
        processes.SetPriorityClass(process.Get(), PriorityClass::Normal));
  }
}

void OptimisationSwitch::OnClicked() {
  if (toolkit_.Caption(controls::kSwitchButton) == texts::kSwitchOnCaption) {
    SwitchOn();
  } else {
    SwitchOff();
  }
}

void OptimisationSwitch::SwitchOn() {
  targetProcessId_ =
      FindProcessId(processes_, SelectedProcessName(toolkit_), kIgnoreCase);
  if (toolkit_.Checked(controls::kRamOption) == kTicked) {
    toolkit_.SetPeriod(controls::kTrimTimer, kTrimPeriodMs);
  }
  if (toolkit_.Checked(controls::kCpuOption) == kTicked) {
    SetProcessPriority(processes_, targetProcessId_, PriorityClass::High);
  }
  toolkit_.SetDisabled(controls::kProcessChooser, kLocked);
  toolkit_.SetCaption(controls::kSwitchButton, texts::kSwitchOffCaption);
}

void OptimisationSwitch::SwitchOff() {
  toolkit_.SetCaption(controls::kSwitchButton, texts::kSwitchOnCaption);
  toolkit_.SetPeriod(controls::kTrimTimer, kStopped);
  // The chooser has been locked since switch-on, so its selection still
  // names the program that the stored ID was found for.
  RestoreNormalPriority(processes_, targetProcessId_,
                        SelectedProcessName(toolkit_));
  toolkit_.SetDisabled(controls::kProcessChooser, kUnlocked);
}

}  // namespace qiro
