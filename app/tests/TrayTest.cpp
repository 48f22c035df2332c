#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <string>
#include <vector>

#include "app/MainWindowControls.h"
#include "app/Texts.h"
#include "app/tests/ProgramFixture.h"

namespace qiro::testing {
namespace {

using namespace std::chrono_literals;
using controls::kHideButton;
using controls::kMainWindow;

class TrayTest : public ProgramFixture {
 protected:
  // Runs the program, lets the test act while it runs, then closes it.
  void WhileRunning(const std::function<void()>& user) {
    RunProgram([&] {
      user();
      if (toolkit.Visible(kMainWindow) == 0) {
        ASSERT_TRUE(toolkit.ClickTrayIcon(kTrayLeftButtonUp));
      }
      ASSERT_TRUE(toolkit.Close());
    });
  }

  [[nodiscard]] bool Shown() const { return toolkit.Visible(kMainWindow) == 1; }
};

// One step of the user: press the hide button, or an action on the icon.
enum class Step { PressHide, LeftUp, DoubleClick, RightUp };

struct TrayCase {
  const char* name;
  std::vector<Step> steps;
  bool shownAfter;
  bool iconAfter;
};

// Names a case in test output by its name, not its bytes.
void PrintTo(const TrayCase& testCase, std::ostream* out) {
  *out << testCase.name;
}

class TrayStateTest : public TrayTest,
                      public ::testing::WithParamInterface<TrayCase> {
 protected:
  void Do(Step step) {
    switch (step) {
      case Step::PressHide:
        ASSERT_TRUE(toolkit.Click(kHideButton));
        break;
      case Step::LeftUp:
        ASSERT_TRUE(toolkit.ClickTrayIcon(kTrayLeftButtonUp));
        break;
      case Step::DoubleClick:
        ASSERT_TRUE(toolkit.ClickTrayIcon(kTrayDoubleClick));
        break;
      case Step::RightUp:
        ASSERT_TRUE(toolkit.ClickTrayIcon(kTrayRightButtonUp));
        break;
    }
  }
};

TEST_P(TrayStateTest, EndsInTheExpectedState) {
  WhileRunning([this] {
    for (const Step step : GetParam().steps) {
      Do(step);
    }
    EXPECT_EQ(Shown(), GetParam().shownAfter);
    EXPECT_EQ(toolkit.TrayIcon().has_value(), GetParam().iconAfter);
  });
}

// A double click reports left-up, double-click, left-up: the two releases
// toggle the window twice and the report itself does nothing.
INSTANTIATE_TEST_SUITE_P(
    StateTable, TrayStateTest,
    ::testing::Values(
        TrayCase{"HidePlacesIcon", {Step::PressHide}, false, true},
        TrayCase{
            "LeftClickShowsAgain", {Step::PressHide, Step::LeftUp}, true, true},
        TrayCase{"NextLeftClickHides",
                 {Step::PressHide, Step::LeftUp, Step::LeftUp},
                 false,
                 true},
        TrayCase{"HideAgainRenewsIcon",
                 {Step::PressHide, Step::LeftUp, Step::PressHide},
                 false,
                 true},
        TrayCase{"RightClickWhileHiddenDoesNothing",
                 {Step::PressHide, Step::RightUp},
                 false,
                 true},
        TrayCase{"RightClickWhileShownDoesNothing",
                 {Step::PressHide, Step::LeftUp, Step::RightUp},
                 true,
                 true},
        TrayCase{
            "DoubleClickFromHiddenEndsHidden",
            {Step::PressHide, Step::LeftUp, Step::DoubleClick, Step::LeftUp},
            false,
            true},
        TrayCase{"DoubleClickFromShownEndsShown",
                 {Step::PressHide, Step::LeftUp, Step::LeftUp,
                  Step::DoubleClick, Step::LeftUp},
                 true,
                 true}),
    [](const ::testing::TestParamInfo<TrayCase>& testInfo) {
      return std::string(testInfo.param.name);
    });

TEST_F(TrayTest, ManyHideAndShowCyclesLeaveOneIcon) {
  WhileRunning([this] {
    for (int cycle = 0; cycle < 25; ++cycle) {
      ASSERT_TRUE(toolkit.Click(kHideButton));
      ASSERT_TRUE(toolkit.ClickTrayIcon(kTrayLeftButtonUp));
    }
    ASSERT_TRUE(toolkit.TrayIcon().has_value());
    EXPECT_EQ(toolkit.TrayIcon()->showCalls, 25);
    EXPECT_EQ(std::count(toolkit.Log().begin(), toolkit.Log().end(),
                         "tray icon added"),
              1);
  });
}

TEST_F(TrayTest, IconCarriesTheProgramIconAndTheWindowCaptionAsTip) {
  WhileRunning([this] {
    ASSERT_TRUE(toolkit.Click(kHideButton));
    ASSERT_TRUE(toolkit.TrayIcon().has_value());
    EXPECT_EQ(toolkit.TrayIcon()->tip, texts::kWindowCaption);
    EXPECT_TRUE(std::equal(kIconFile.begin(), kIconFile.end(),
                           toolkit.TrayIcon()->iconFile.begin(),
                           toolkit.TrayIcon()->iconFile.end()));
  });
}

TEST_F(TrayTest, WindowComesBackCentredAndRestored) {
  toolkit.SetScreenSize(1024, 700);
  WhileRunning([this] {
    ASSERT_TRUE(toolkit.DragWindowTo(5, 400));
    ASSERT_TRUE(toolkit.Minimise());
    ASSERT_TRUE(toolkit.Click(kHideButton));
    ASSERT_TRUE(toolkit.ClickTrayIcon(kTrayLeftButtonUp));
    EXPECT_TRUE(Shown());
    EXPECT_FALSE(toolkit.IsMinimised());
    EXPECT_EQ(toolkit.Left(), (1024 - 380) / 2);
    EXPECT_EQ(toolkit.Top(), (700 - 242) / 2);
  });
}

TEST_F(TrayTest, ClosingRemovesTheIconAfterTheClosingNotice) {
  WhileRunning([this] { ASSERT_TRUE(toolkit.Click(kHideButton)); });

  EXPECT_FALSE(toolkit.TrayIcon().has_value());
  const std::vector<std::string>& log = toolkit.Log();
  const auto removed = std::find(log.begin(), log.end(), "tray icon removed");
  const auto destroying =
      std::find(log.begin(), log.end(), "Destroying raised");
  ASSERT_NE(removed, log.end());
  ASSERT_NE(destroying, log.end());
  // Destroying, its notice opened and dismissed, and only then the icon.
  EXPECT_EQ(std::distance(destroying, removed), 3);
}

TEST_F(TrayTest, IconDoesNotBringBackAWindowThatIsClosing) {
  bool iconActed = true;
  toolkit.WhileMessageBoxOpen([&](const MessageBoxRecord& box) {
    if (box.title == texts::kClosingNoticeTitle) {
      iconActed = toolkit.ClickTrayIcon(kTrayLeftButtonUp);
    }
  });
  WhileRunning([this] { ASSERT_TRUE(toolkit.Click(kHideButton)); });

  EXPECT_FALSE(iconActed);
}

TEST_F(TrayTest, TimersAndOptimisationGoOnWhileHidden) {
  constexpr ProcessId game = 4242;
  processes.Add(game, "game.exe");
  WhileRunning([&] {
    using namespace controls;
    ASSERT_TRUE(toolkit.OpenList(kProcessChooser));
    ASSERT_TRUE(toolkit.Select(kProcessChooser, 0));
    ASSERT_TRUE(toolkit.Click(kRamOption));
    ASSERT_TRUE(toolkit.Click(kSwitchButton));
    ASSERT_TRUE(toolkit.Click(kHideButton));
    const int ownBefore = processes.OwnTrimCount();
    const int gameBefore = processes.TrimCount(game);

    toolkit.AdvanceClock(1000ms);

    EXPECT_EQ(processes.OwnTrimCount() - ownBefore, 5);
    EXPECT_EQ(processes.TrimCount(game) - gameBefore, 5);
    EXPECT_EQ(processes.PriorityClassOf(game), kHighPriorityClass);
    EXPECT_EQ(toolkit.Caption(kSwitchButton), texts::kSwitchOffCaption);
  });
}

}  // namespace
}  // namespace qiro::testing
