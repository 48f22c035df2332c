#pragma once

#include <vector>

#include "app/MainWindowControls.h"
#include "app/MainWindowLayout.h"
#include "app/Texts.h"
#include "optimise/OptimisationSwitch.h"
#include "optimise/WorkingSetTrimming.h"
#include "process/ProcessChooser.h"
#include "tests/fakes/FakeProcessTable.h"
#include "tests/fakes/FakeWindowToolkit.h"

namespace qiro::testing {

// The main window on the fake toolkit and process table, with the chooser,
// the switch and both timers bound as the program binds them.
class OptimisedWindow {
 public:
  explicit OptimisedWindow(FakeProcessTable& processes)
      : processes_(processes), switch_(toolkit_, processes) {}

  // False if the window could not be built.
  bool Build() {
    using controls::kOwnTrimTimer;
    using controls::kProcessChooser;
    using controls::kSwitchButton;
    using controls::kTrimTimer;
    EventBindings bindings{
        {kProcessChooser, Event::ListOpening,
         [this](int) { RefreshProcessChooser(toolkit_, processes_); }},
        {kSwitchButton, Event::Clicked, [this](int) { switch_.OnClicked(); }},
        {kTrimTimer, Event::Tick,
         [this](int) { OnTrimTimerTick(toolkit_, processes_); }},
        {kOwnTrimTimer, Event::Tick,
         [this](int) { TrimOwnWorkingSet(processes_); }},
    };
    return toolkit_.BuildWindow(MainWindowLayout(), std::move(bindings));
  }

  // Opens the chooser and picks the nth item showing this name (from 0).
  [[nodiscard]] bool Choose(TextView name, int nth = 0) {
    if (!toolkit_.OpenList(controls::kProcessChooser)) {
      return false;
    }
    const std::vector<Text> items = toolkit_.Items(controls::kProcessChooser);
    for (std::size_t i = 0; i < items.size(); ++i) {
      if (items[i] == name && nth-- == 0) {
        return toolkit_.Select(controls::kProcessChooser, static_cast<int>(i));
      }
    }
    return false;
  }

  // Ticks the box if it is not ticked, or unticks it, as the test asks.
  [[nodiscard]] bool SetOption(ControlName checkBox, bool ticked) {
    return toolkit_.Checked(checkBox) == (ticked ? 1 : 0) ||
           toolkit_.Click(checkBox);
  }

  [[nodiscard]] bool PressSwitch() {
    return toolkit_.Click(controls::kSwitchButton);
  }

  [[nodiscard]] bool IsOn() const {
    return toolkit_.Caption(controls::kSwitchButton) ==
           texts::kSwitchOffCaption;
  }

  FakeWindowToolkit& Toolkit() { return toolkit_; }
  [[nodiscard]] const OptimisationSwitch& Switch() const { return switch_; }

 private:
  FakeProcessTable& processes_;
  FakeWindowToolkit toolkit_;
  OptimisationSwitch switch_;
};

}  // namespace qiro::testing
