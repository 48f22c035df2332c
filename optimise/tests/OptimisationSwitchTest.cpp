#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstddef>
#include <ostream>
#include <span>
#include <utility>

#include "app/MainWindowControls.h"
#include "app/Texts.h"
#include "optimise/OptimisationSwitch.h"
#include "optimise/tests/OptimisedWindow.h"
#include "tests/fakes/FakeProcessTable.h"

namespace qiro {
namespace {

using controls::kCpuOption;
using controls::kProcessChooser;
using controls::kRamOption;
using controls::kSwitchButton;
using controls::kTrimTimer;
using testing::FakeProcess;
using testing::FakeProcessTable;
using testing::kAboveNormalPriorityClass;
using testing::kBelowNormalPriorityClass;
using testing::kHighPriorityClass;
using testing::kIdlePriorityClass;
using testing::kNormalPriorityClass;
using testing::OptimisedWindow;
using testing::ProcessCall;
using namespace std::chrono_literals;

constexpr ProcessId kGame = 100;

class OptimisationSwitchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    processes.Add(4, "System");
    processes.Add(FakeProcess{.id = kGame,
                              .name = "game.exe",
                              .priorityClass = kBelowNormalPriorityClass});
    processes.Add(200, "other.exe");
    ASSERT_TRUE(window.Build());
  }
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), ::testing::IsEmpty());
  }

  [[nodiscard]] Text Caption() { return toolkit.Caption(kSwitchButton); }
  [[nodiscard]] int Period() { return toolkit.Period(kTrimTimer); }
  [[nodiscard]] bool ChooserLocked() {
    return toolkit.IsDisabled(kProcessChooser);
  }

  FakeProcessTable processes;
  OptimisedWindow window{processes};
  testing::FakeWindowToolkit& toolkit = window.Toolkit();
};

struct OptionsCase {
  bool cpu;
  bool ram;
  int periodWhileOn;
  std::uint32_t classWhileOn;
};

void PrintTo(const OptionsCase& c, std::ostream* out) {
  *out << "cpu " << c.cpu << ", ram " << c.ram;
}

class SwitchStatesTest : public OptimisationSwitchTest,
                         public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(SwitchStatesTest, OnAppliesTheTickedOptionsAndOffUndoesThem) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.SetOption(kCpuOption, GetParam().cpu));
  ASSERT_TRUE(window.SetOption(kRamOption, GetParam().ram));

  ASSERT_TRUE(window.PressSwitch());
  EXPECT_EQ(Caption(), texts::kSwitchOffCaption);
  EXPECT_EQ(Period(), GetParam().periodWhileOn);
  EXPECT_TRUE(ChooserLocked());
  EXPECT_EQ(processes.PriorityClassOf(kGame), GetParam().classWhileOn);
  EXPECT_EQ(window.Switch().TargetProcessId(), kGame);

  ASSERT_TRUE(window.PressSwitch());
  EXPECT_EQ(Caption(), texts::kSwitchOnCaption);
  EXPECT_EQ(Period(), 0);
  EXPECT_FALSE(ChooserLocked());
  // Off always ends at the normal class, whatever the process had before.
  EXPECT_EQ(processes.PriorityClassOf(kGame), kNormalPriorityClass);
  EXPECT_EQ(window.Switch().TargetProcessId(), kGame);
  EXPECT_EQ(processes.PriorityClassOf(200), kNormalPriorityClass);
}

INSTANTIATE_TEST_SUITE_P(
    Options, SwitchStatesTest,
    ::testing::Values(OptionsCase{true, false, 0, kHighPriorityClass},
                      OptionsCase{true, true, 200, kHighPriorityClass},
                      OptionsCase{false, true, 200, kBelowNormalPriorityClass},
                      OptionsCase{false, false, 0, kBelowNormalPriorityClass}));

TEST_F(OptimisationSwitchTest, StartsOffWithCpuTickedAndRamNot) {
  EXPECT_EQ(Caption(), texts::kSwitchOnCaption);
  EXPECT_EQ(toolkit.Checked(kCpuOption), 1);
  EXPECT_EQ(toolkit.Checked(kRamOption), 0);
  EXPECT_EQ(window.Switch().TargetProcessId(), kNoProcess);
}

TEST_F(OptimisationSwitchTest, OnlyTheExactStartCaptionSwitchesOn) {
  ASSERT_TRUE(window.Choose("game.exe"));
  // The same words with a trailing space are not the off caption: the
  // press switches off.
  toolkit.SetCaption(kSwitchButton, Text(texts::kSwitchOnCaption) + " ");

  ASSERT_TRUE(window.PressSwitch());

  EXPECT_EQ(Caption(), texts::kSwitchOnCaption);
  EXPECT_EQ(window.Switch().TargetProcessId(), kNoProcess);
  EXPECT_EQ(processes.CallCount(ProcessCall::CreateSnapshot), 1);  // listing
}

TEST_F(OptimisationSwitchTest, WithNothingSelectedNoProcessIsTouched) {
  ASSERT_TRUE(window.SetOption(kRamOption, true));

  ASSERT_TRUE(window.PressSwitch());
  EXPECT_TRUE(window.IsOn());
  EXPECT_EQ(Period(), 200);
  ASSERT_TRUE(window.PressSwitch());

  EXPECT_FALSE(window.IsOn());
  EXPECT_EQ(window.Switch().TargetProcessId(), kNoProcess);
  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), 0);
}

TEST_F(OptimisationSwitchTest, TheFirstOfTwoSameNamedProcessesIsRaised) {
  processes.Add(300, "GAME.EXE");
  ASSERT_TRUE(window.Choose("GAME.EXE"));

  ASSERT_TRUE(window.PressSwitch());

  EXPECT_EQ(processes.PriorityClassOf(kGame), kHighPriorityClass);
  EXPECT_EQ(processes.PriorityClassOf(300), kNormalPriorityClass);
}

TEST_F(OptimisationSwitchTest, ASecondRoundActsOnTheNewlyChosenProcess) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.PressSwitch());
  ASSERT_TRUE(window.PressSwitch());
  ASSERT_TRUE(window.Choose("other.exe"));

  ASSERT_TRUE(window.PressSwitch());
  EXPECT_EQ(processes.PriorityClassOf(200), kHighPriorityClass);
  EXPECT_EQ(processes.PriorityClassOf(kGame), kNormalPriorityClass);
  ASSERT_TRUE(window.PressSwitch());

  EXPECT_EQ(processes.PriorityClassOf(200), kNormalPriorityClass);
}

TEST_F(OptimisationSwitchTest, SwitchingOffAfterTheTargetEndedOnlyUnlocks) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.SetOption(kRamOption, true));
  ASSERT_TRUE(window.PressSwitch());
  processes.Remove(kGame);

  ASSERT_TRUE(window.PressSwitch());

  EXPECT_FALSE(window.IsOn());
  EXPECT_EQ(Period(), 0);
  EXPECT_FALSE(ChooserLocked());
  EXPECT_EQ(processes.CallCount(ProcessCall::SetPriorityClass), 1);
}

TEST_F(OptimisationSwitchTest, OffActsOnTheStoredIdNotOnARestartedTarget) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.PressSwitch());
  processes.Remove(kGame);
  processes.Add(FakeProcess{
      .id = 300, .name = "game.exe", .priorityClass = kIdlePriorityClass});

  ASSERT_TRUE(window.PressSwitch());

  EXPECT_EQ(window.Switch().TargetProcessId(), kGame);
  EXPECT_EQ(processes.PriorityClassOf(300), kIdlePriorityClass);
}

// Windows gives an ended process's ID to a later one: the switch must not
// set the class of a program the user never chose.
TEST_F(OptimisationSwitchTest, OffLeavesAnotherProgramUnderTheStoredIdAlone) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.PressSwitch());
  processes.Remove(kGame);
  processes.Add(FakeProcess{.id = kGame,
                            .name = "audiodg.exe",
                            .priorityClass = kAboveNormalPriorityClass});

  ASSERT_TRUE(window.PressSwitch());

  EXPECT_FALSE(window.IsOn());
  EXPECT_EQ(processes.PriorityClassOf(kGame), kAboveNormalPriorityClass);
}

TEST_F(OptimisationSwitchTest, UntickingRamWhileOnKeepsTheTrimmingGoing) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.SetOption(kRamOption, true));
  ASSERT_TRUE(window.PressSwitch());

  ASSERT_TRUE(window.SetOption(kRamOption, false));
  ASSERT_TRUE(window.SetOption(kCpuOption, false));
  toolkit.AdvanceClock(1000ms);

  EXPECT_EQ(Period(), 200);
  EXPECT_EQ(processes.TrimCount(kGame), 5);
  ASSERT_TRUE(window.PressSwitch());
  EXPECT_EQ(Period(), 0);
  EXPECT_EQ(processes.PriorityClassOf(kGame), kNormalPriorityClass);
}

TEST_F(OptimisationSwitchTest, ATargetThatCannotBeOpenedKeepsItsClass) {
  ASSERT_TRUE(window.Choose("game.exe"));
  processes.SetCannotOpen(kGame);

  ASSERT_TRUE(window.PressSwitch());
  EXPECT_TRUE(window.IsOn());
  EXPECT_TRUE(ChooserLocked());
  EXPECT_EQ(window.Switch().TargetProcessId(), kGame);
  EXPECT_EQ(processes.PriorityClassOf(kGame), kBelowNormalPriorityClass);
  ASSERT_TRUE(window.PressSwitch());

  EXPECT_FALSE(window.IsOn());
  EXPECT_EQ(processes.PriorityClassOf(kGame), kBelowNormalPriorityClass);
  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), 2);
}

struct FailureCase {
  const char* what;
  ProcessCall call;
  ProcessId expectedTarget;
  std::uint32_t expectedClassWhileOn;
};

void PrintTo(const FailureCase& c, std::ostream* out) { *out << c.what; }

class SwitchOnFailureTest : public OptimisationSwitchTest,
                            public ::testing::WithParamInterface<FailureCase> {
};

TEST_P(SwitchOnFailureTest, TheSwitchChangesStateAllTheSame) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.SetOption(kRamOption, true));
  processes.FailCall(GetParam().call);

  ASSERT_TRUE(window.PressSwitch());
  EXPECT_TRUE(window.IsOn());
  EXPECT_EQ(Period(), 200);
  EXPECT_TRUE(ChooserLocked());
  EXPECT_EQ(window.Switch().TargetProcessId(), GetParam().expectedTarget);
  EXPECT_EQ(processes.PriorityClassOf(kGame), GetParam().expectedClassWhileOn);

  ASSERT_TRUE(window.PressSwitch());
  EXPECT_FALSE(window.IsOn());
  EXPECT_FALSE(ChooserLocked());
}

INSTANTIATE_TEST_SUITE_P(
    Failures, SwitchOnFailureTest,
    ::testing::Values(FailureCase{"no snapshot", ProcessCall::CreateSnapshot,
                                  kNoProcess, kBelowNormalPriorityClass},
                      FailureCase{"unreadable first entry",
                                  ProcessCall::FirstProcess, kNoProcess,
                                  kBelowNormalPriorityClass},
                      FailureCase{"refused open", ProcessCall::OpenProcess,
                                  kGame, kBelowNormalPriorityClass},
                      FailureCase{"failed priority change",
                                  ProcessCall::SetPriorityClass, kGame,
                                  kBelowNormalPriorityClass}));

TEST_F(OptimisationSwitchTest, AFailedRestoreStillSwitchesOff) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.SetOption(kRamOption, true));
  ASSERT_TRUE(window.PressSwitch());
  processes.FailCall(ProcessCall::SetPriorityClass);

  ASSERT_TRUE(window.PressSwitch());

  EXPECT_FALSE(window.IsOn());
  EXPECT_EQ(Period(), 0);
  EXPECT_FALSE(ChooserLocked());
  EXPECT_EQ(processes.PriorityClassOf(kGame), kHighPriorityClass);
}

// The fake toolkit, except that a ticked box reads 2, as a three-state box
// in its third state would.
class ThirdStateToolkit final : public WindowToolkit {
 public:
  explicit ThirdStateToolkit(testing::FakeWindowToolkit& toolkit)
      : toolkit_(toolkit) {}

  [[nodiscard]] int Checked(ControlName checkBox) const override {
    return toolkit_.Checked(checkBox) == 1 ? 2 : 0;
  }

  void Prepare() override { toolkit_.Prepare(); }
  bool BuildWindow(const WindowLayout& layout,
                   EventBindings bindings) override {
    return toolkit_.BuildWindow(layout, std::move(bindings));
  }
  void RunEventLoop() override { toolkit_.RunEventLoop(); }
  [[nodiscard]] int Visible(ControlName window) const override {
    return toolkit_.Visible(window);
  }
  void SetVisible(ControlName window, int visible) override {
    toolkit_.SetVisible(window, visible);
  }
  void SetPosition(ControlName window, int position) override {
    toolkit_.SetPosition(window, position);
  }
  [[nodiscard]] Text Caption(ControlName control) const override {
    return toolkit_.Caption(control);
  }
  void SetCaption(ControlName button, TextView caption) override {
    toolkit_.SetCaption(button, caption);
  }
  void SetDisabled(ControlName comboBox, int disabled) override {
    toolkit_.SetDisabled(comboBox, disabled);
  }
  [[nodiscard]] int SelectedIndex(ControlName comboBox) const override {
    return toolkit_.SelectedIndex(comboBox);
  }
  void SetPeriod(ControlName timer, int milliseconds) override {
    toolkit_.SetPeriod(timer, milliseconds);
  }
  void ShowMessageBox(TextView text, unsigned flags, TextView title) override {
    toolkit_.ShowMessageBox(text, flags, title);
  }
  [[nodiscard]] Text ItemTextAt(ControlName comboBox,
                                int index) const override {
    return toolkit_.ItemTextAt(comboBox, index);
  }
  int AppendItem(ControlName comboBox, TextView text) override {
    return toolkit_.AppendItem(comboBox, text);
  }
  void RemoveAllItems(ControlName comboBox) override {
    toolkit_.RemoveAllItems(comboBox);
  }
  void ShowTrayIcon(ControlName window, std::span<const std::byte> iconFile,
                    TextView tip) override {
    toolkit_.ShowTrayIcon(window, iconFile, tip);
  }

 private:
  testing::FakeWindowToolkit& toolkit_;
};

TEST_F(OptimisationSwitchTest, ABoxCountsAsTickedOnlyWhenItReadsOne) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.SetOption(kRamOption, true));
  ThirdStateToolkit thirdState(toolkit);
  OptimisationSwitch onThirdState(thirdState, processes);

  onThirdState.OnClicked();

  EXPECT_EQ(Caption(), texts::kSwitchOffCaption);
  EXPECT_EQ(Period(), 0);
  EXPECT_EQ(processes.PriorityClassOf(kGame), kBelowNormalPriorityClass);
  onThirdState.OnClicked();
  EXPECT_EQ(processes.PriorityClassOf(kGame), kNormalPriorityClass);
}

TEST(SetProcessPriorityTest, TheIdZeroOpensNothing) {
  FakeProcessTable processes;
  processes.Add(0, "[System Process]");

  SetProcessPriority(processes, kNoProcess, PriorityClass::High);

  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), 0);
}

}  // namespace
}  // namespace qiro
