#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainWindowControls.h"
#include "app/Texts.h"
#include "app/tests/ProgramFixture.h"

namespace qiro::testing {
namespace {

using namespace std::chrono_literals;
using ::testing::ElementsAre;
using ::testing::IsEmpty;

using StartupAndClosingTest = ProgramFixture;

void CloseAtOnce(FakeWindowToolkit& toolkit) { EXPECT_TRUE(toolkit.Close()); }

TEST_F(StartupAndClosingTest, RunsStartUpAndClosingInOrderAndExitsWithZero) {
  const int exitCode = RunProgram([this] { CloseAtOnce(toolkit); });

  EXPECT_EQ(exitCode, 0);
  EXPECT_THAT(
      toolkit.Log(),
      ElementsAre("toolkit prepared", "window created hidden",
                  "controls created", "Created raised", "message box opened",
                  "message box dismissed", "window shown", "event loop started",
                  "window hidden", "Destroying raised", "message box opened",
                  "message box dismissed", "controls destroyed",
                  "event loop ended"));
}

TEST_F(StartupAndClosingTest, ShowsBothNoticesWithTheirTextsAndNoOwner) {
  RunProgram([this] { CloseAtOnce(toolkit); });

  const std::vector<MessageBoxRecord>& boxes = toolkit.MessageBoxes();
  ASSERT_EQ(boxes.size(), 2U);
  EXPECT_EQ(boxes[0].text, texts::kStartupNoticeText);
  EXPECT_EQ(boxes[0].title, texts::kStartupNoticeTitle);
  EXPECT_EQ(boxes[0].flags, 0U);
  EXPECT_EQ(boxes[1].text, texts::kClosingNoticeText);
  EXPECT_EQ(boxes[1].title, texts::kClosingNoticeTitle);
  EXPECT_EQ(boxes[1].flags, 0U);
}

TEST_F(StartupAndClosingTest, NoticesOpenWhileTheWindowIsOffTheScreen) {
  std::vector<int> visibleDuringNotices;
  toolkit.WhileMessageBoxOpen([&](const MessageBoxRecord&) {
    visibleDuringNotices.push_back(toolkit.Visible(controls::kMainWindow));
    // A notice is modal: the user cannot reach the window behind it.
    EXPECT_FALSE(toolkit.Click(controls::kSwitchButton));
  });

  RunProgram([this] {
    EXPECT_EQ(toolkit.Visible(controls::kMainWindow), 1);
    CloseAtOnce(toolkit);
  });

  EXPECT_THAT(visibleDuringNotices, ElementsAre(0, 0));
}

TEST_F(StartupAndClosingTest, EveryControlStartsInItsInitialState) {
  toolkit.SetScreenSize(1024, 700);
  RunProgram([this] {
    using namespace controls;
    EXPECT_EQ(toolkit.Caption(kMainWindow), texts::kWindowCaption);
    EXPECT_EQ(toolkit.Left(), (1024 - 380) / 2);
    EXPECT_EQ(toolkit.Top(), (700 - 242) / 2);
    EXPECT_EQ(toolkit.Checked(kCpuOption), 1);
    EXPECT_EQ(toolkit.Checked(kRamOption), 0);
    EXPECT_EQ(toolkit.Caption(kSwitchButton), texts::kSwitchOnCaption);
    EXPECT_EQ(toolkit.Caption(kHideButton), texts::kHideButtonText);
    EXPECT_THAT(toolkit.Items(kProcessChooser), IsEmpty());
    EXPECT_EQ(toolkit.SelectedIndex(kProcessChooser), -1);
    EXPECT_FALSE(toolkit.IsDisabled(kProcessChooser));
    EXPECT_EQ(toolkit.Period(kTrimTimer), 0);
    EXPECT_EQ(toolkit.Period(kOwnTrimTimer), 200);
    EXPECT_FALSE(toolkit.TrayIcon().has_value());
    CloseAtOnce(toolkit);
  });
}

TEST_F(StartupAndClosingTest, OwnWorkingSetIsTrimmedDuringBothNotices) {
  std::vector<int> ownTrimsAfterEachNotice;
  toolkit.WhileMessageBoxOpen([&](const MessageBoxRecord&) {
    toolkit.AdvanceClock(1000ms);
    ownTrimsAfterEachNotice.push_back(processes.OwnTrimCount());
  });

  RunProgram([this] { CloseAtOnce(toolkit); });

  // The clock timer runs from its creation, before the start-up notice:
  // five ticks in each second a notice stays open. The memory timer is
  // still stopped.
  EXPECT_THAT(ownTrimsAfterEachNotice, ElementsAre(5, 10));
  EXPECT_EQ(toolkit.FinalTickCount(controls::kOwnTrimTimer), 10);
  EXPECT_EQ(toolkit.FinalTickCount(controls::kTrimTimer), 0);
}

TEST_F(StartupAndClosingTest, FirstOwnTrimComesOnePeriodAfterCreation) {
  std::vector<int> ownTrims;
  toolkit.WhileMessageBoxOpen([&](const MessageBoxRecord& box) {
    if (box.title != texts::kStartupNoticeTitle) {
      return;
    }
    toolkit.AdvanceClock(199ms);
    ownTrims.push_back(processes.OwnTrimCount());
    toolkit.AdvanceClock(1ms);
    ownTrims.push_back(processes.OwnTrimCount());
  });

  RunProgram([this] { CloseAtOnce(toolkit); });

  EXPECT_THAT(ownTrims, ElementsAre(0, 1));
}

TEST_F(StartupAndClosingTest, ClosingWhileSwitchedOnKeepsTheRaisedPriority) {
  constexpr ProcessId game = 4242;
  processes.Add(game, "game.exe");
  std::vector<int> gameTrimsDuringClosingNotice;
  toolkit.WhileMessageBoxOpen([&](const MessageBoxRecord& box) {
    if (box.title == texts::kClosingNoticeTitle) {
      const int before = processes.TrimCount(game);
      toolkit.AdvanceClock(400ms);
      gameTrimsDuringClosingNotice.push_back(processes.TrimCount(game) -
                                             before);
    }
  });

  const int exitCode = RunProgram([&] {
    using namespace controls;
    ASSERT_TRUE(toolkit.OpenList(kProcessChooser));
    ASSERT_TRUE(toolkit.Select(kProcessChooser, 0));
    ASSERT_TRUE(toolkit.Click(kRamOption));
    ASSERT_TRUE(toolkit.Click(kSwitchButton));
    ASSERT_EQ(processes.PriorityClassOf(game), kHighPriorityClass);
    CloseAtOnce(toolkit);
  });

  EXPECT_EQ(exitCode, 0);
  // Running timers go on ticking during the closing notice, then stop with
  // the controls; nothing done to the chosen process is undone.
  EXPECT_THAT(gameTrimsDuringClosingNotice, ElementsAre(2));
  EXPECT_EQ(processes.PriorityClassOf(game), kHighPriorityClass);
  const int trimsAtEnd = processes.TrimCount(game);
  toolkit.AdvanceClock(1000ms);
  EXPECT_EQ(processes.TrimCount(game), trimsAtEnd);
}

TEST_F(StartupAndClosingTest, WindowThatCannotBeBuiltEndsWithMinusOne) {
  toolkit.FailBuild();
  bool eventLoopEntered = false;

  const int exitCode = RunProgram([&] { eventLoopEntered = true; });

  EXPECT_EQ(exitCode, -1);
  EXPECT_FALSE(eventLoopEntered);
  const std::vector<MessageBoxRecord>& boxes = toolkit.MessageBoxes();
  ASSERT_EQ(boxes.size(), 1U);
  EXPECT_EQ(boxes[0].text, texts::kBuildFailedText);
  EXPECT_EQ(boxes[0].flags, 0U);
  EXPECT_EQ(processes.OwnTrimCount(), 0);
}

}  // namespace
}  // namespace qiro::testing
