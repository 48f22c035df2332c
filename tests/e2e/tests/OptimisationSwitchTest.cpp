// The switch raises the chosen process to high priority, locks the chooser
// and turns its caption; the second press sets normal priority back.
#include <gtest/gtest.h>

#include "support/Chooser.h"
#include "support/ProgramTexts.h"
#include "support/QiroProgram.h"
#include "support/Targets.h"
#include "support/WideText.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

class OptimisationSwitch : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(targets_.Start());
    ASSERT_TRUE(program_.StartAndShow());
    chooser_ = program_.ControlWindow(Control::Chooser);
    ASSERT_NE(chooser_, nullptr);
    ASSERT_TRUE(OpenAndReadList(chooser_, items_));
    firstTwin_ = Targets::FirstTwin();
    otherTwin_ = targets_.OtherTwin();
    ASSERT_NE(firstTwin_, 0u);
  }
  void TearDown() override {
    if (program_.Running() && program_.Window() != nullptr) {
      EXPECT_TRUE(program_.Close(CloseMethod::CloseMessage));
    }
  }

  void ExpectSwitchedOn() {
    EXPECT_EQ(Utf8(program_.TextOf(Control::SwitchButton)),
              Utf8(onscreen::kSwitchOff));
    EXPECT_FALSE(Enabled(chooser_)) << "the chooser is not locked";
  }
  void ExpectSwitchedOff() {
    EXPECT_EQ(Utf8(program_.TextOf(Control::SwitchButton)),
              Utf8(onscreen::kSwitchOn));
    EXPECT_TRUE(Enabled(chooser_)) << "the chooser is still locked";
  }

  Targets targets_;
  QiroProgram program_;
  HWND chooser_ = nullptr;
  std::vector<std::wstring> items_;
  DWORD firstTwin_ = 0;
  DWORD otherTwin_ = 0;
};

TEST_F(OptimisationSwitch,
       RaisesTheFirstProcessOfTheChosenNameThenSetsItNormal) {
  // Classes other than normal before, so that every change is visible.
  ASSERT_TRUE(SetPriorityClassOf(firstTwin_, IDLE_PRIORITY_CLASS));
  ASSERT_TRUE(SetPriorityClassOf(otherTwin_, BELOW_NORMAL_PRIORITY_CLASS));
  // Either item of the shared name gives the same text: take the later one.
  ASSERT_TRUE(SelectItem(chooser_, LastIndexOf(items_, kTwinName)));
  ASSERT_EQ(SendWithin(program_.ControlWindow(Control::Cpu), BM_GETCHECK, 0, 0),
            BST_CHECKED);

  ASSERT_TRUE(program_.Click(Control::SwitchButton));
  EXPECT_EQ(PriorityClassOf(firstTwin_), HIGH_PRIORITY_CLASS);
  EXPECT_EQ(PriorityClassOf(otherTwin_), BELOW_NORMAL_PRIORITY_CLASS)
      << "the other process of the same name was changed";
  EXPECT_EQ(PriorityClassOf(targets_.loner.Id()), NORMAL_PRIORITY_CLASS);
  ExpectSwitchedOn();

  ASSERT_TRUE(program_.Click(Control::SwitchButton));
  EXPECT_EQ(PriorityClassOf(firstTwin_), NORMAL_PRIORITY_CLASS);
  EXPECT_EQ(PriorityClassOf(otherTwin_), BELOW_NORMAL_PRIORITY_CLASS);
  ExpectSwitchedOff();

  // The next round acts on the newly chosen process.
  ASSERT_TRUE(SelectItem(chooser_, FirstIndexOf(items_, kLonerName)));
  ASSERT_TRUE(SetPriorityClassOf(firstTwin_, IDLE_PRIORITY_CLASS));
  ASSERT_TRUE(program_.Click(Control::SwitchButton));
  EXPECT_EQ(PriorityClassOf(targets_.loner.Id()), HIGH_PRIORITY_CLASS);
  EXPECT_EQ(PriorityClassOf(firstTwin_), IDLE_PRIORITY_CLASS);
  ASSERT_TRUE(program_.Click(Control::SwitchButton));
  EXPECT_EQ(PriorityClassOf(targets_.loner.Id()), NORMAL_PRIORITY_CLASS);
  EXPECT_EQ(PriorityClassOf(firstTwin_), IDLE_PRIORITY_CLASS);
}

TEST_F(OptimisationSwitch, WithoutCpuTickedLeavesThePriorityUntilSwitchOff) {
  ASSERT_TRUE(program_.Click(Control::Cpu));
  ASSERT_EQ(SendWithin(program_.ControlWindow(Control::Cpu), BM_GETCHECK, 0, 0),
            BST_UNCHECKED);
  ASSERT_TRUE(SetPriorityClassOf(firstTwin_, IDLE_PRIORITY_CLASS));
  ASSERT_TRUE(SelectItem(chooser_, FirstIndexOf(items_, kTwinName)));

  ASSERT_TRUE(program_.Click(Control::SwitchButton));
  EXPECT_EQ(PriorityClassOf(firstTwin_), IDLE_PRIORITY_CLASS);
  ExpectSwitchedOn();
  // Switch-off sets normal whatever the box says.
  ASSERT_TRUE(program_.Click(Control::SwitchButton));
  EXPECT_EQ(PriorityClassOf(firstTwin_), NORMAL_PRIORITY_CLASS);
  ExpectSwitchedOff();
}

TEST_F(OptimisationSwitch, ClosingWhileOnLeavesTheRaisedPriority) {
  ASSERT_TRUE(SelectItem(chooser_, FirstIndexOf(items_, kLonerName)));
  ASSERT_TRUE(program_.Click(Control::SwitchButton));
  ASSERT_EQ(PriorityClassOf(targets_.loner.Id()), HIGH_PRIORITY_CLASS);
  ASSERT_TRUE(program_.Close(CloseMethod::CloseMessage));
  EXPECT_EQ(PriorityClassOf(targets_.loner.Id()), HIGH_PRIORITY_CLASS);
}

}  // namespace
}  // namespace qiro::e2e
