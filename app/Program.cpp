#include "app/Program.h"

#include "app/MainWindowControls.h"
#include "app/MainWindowLayout.h"
#include "app/Notices.h"
#include "app/TrayHandlers.h"
#include "optimise/WorkingSetTrimming.h"
#include "process/ProcessChooser.h"

namespace qiro {

Program::Program(WindowToolkit& toolkit, ProcessServices& processes,
                 std::span<const std::byte> iconFile)
    : toolkit_(toolkit),
      processes_(processes),
      iconFile_(iconFile),
      switch_(toolkit, processes) {}

int Program::Run() {
  toolkit_.Prepare();
  if (!toolkit_.BuildWindow(MainWindowLayout(), Bindings())) {
    ShowBuildFailedNotice(toolkit_);
    return kExitWindowNotBuilt;
  }
  toolkit_.RunEventLoop();
  return kExitClosed;
}

// The only events the program handles; every other event has no handler.
EventBindings Program::Bindings() {
  using controls::kHideButton;
  using controls::kMainWindow;
  using controls::kOwnTrimTimer;
  using controls::kProcessChooser;
  using controls::kSwitchButton;
  using controls::kTrimTimer;
  return {
      {kMainWindow, Event::Created,
       [this](int) { ShowStartupNotice(toolkit_); }},
      {kMainWindow, Event::Destroying,
       [this](int) { ShowClosingNotice(toolkit_); }},
      {kMainWindow, Event::TrayEvent,
       [this](int action) { OnTrayEvent(toolkit_, action); }},
      {kProcessChooser, Event::ListOpening,
       [this](int) { RefreshProcessChooser(toolkit_, processes_); }},
      {kSwitchButton, Event::Clicked, [this](int) { switch_.OnClicked(); }},
      {kHideButton, Event::Clicked,
       [this](int) { HideToTray(toolkit_, iconFile_); }},
      {kTrimTimer, Event::Tick,
       [this](int) { OnTrimTimerTick(toolkit_, processes_); }},
      {kOwnTrimTimer, Event::Tick,
       [this](int) { TrimOwnWorkingSet(processes_); }},
  };
}

}  // namespace qiro
