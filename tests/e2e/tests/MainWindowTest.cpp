// Start-up as a user sees it: the notice first, then the window with its
// controls at their places, with their texts and initial states.
#include <gtest/gtest.h>

#include <array>

#include "support/DesktopShell.h"
#include "support/Environment.h"
#include "support/ProgramTexts.h"
#include "support/QiroProgram.h"
#include "support/Targets.h"
#include "support/WideText.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

constexpr int kWindowWidth = 380;
constexpr int kWindowHeight = 242;
constexpr int kDroppedHeight = 160;

TEST(Environment, RunsUnderWineOnTheVirtualDesktop) {
  ASSERT_FALSE(WineVersion().empty())
      << "the end-to-end driver must run under Wine (tests/e2e/run-e2e.sh)";
  EXPECT_EQ(GetSystemMetrics(SM_CXSCREEN), kScreenWidth);
  EXPECT_EQ(GetSystemMetrics(SM_CYSCREEN), kScreenHeight);
  EXPECT_NE(TaskBar(), nullptr) << "no task bar: the prefix's default desktop "
                                   "must be the virtual desktop";
  const E2ePaths& paths = Paths();
  EXPECT_FALSE(paths.programExe.empty()) << "QIRO_E2E_PROGRAM is not set";
  EXPECT_FALSE(paths.targetsDir.empty()) << "QIRO_E2E_TARGETS is not set";
  EXPECT_FALSE(paths.workDir.empty()) << "QIRO_E2E_WORK is not set";
  EXPECT_EQ(GetACP(), 936u) << "the locale zh_CN.UTF-8 is not in effect";
}

TEST(MainWindow, StartupNoticeComesFirstThenTheCentredTopmostWindow) {
  QiroProgram program;
  ASSERT_TRUE(program.Start());
  HWND notice = nullptr;
  ASSERT_TRUE(program.AwaitNotice(onscreen::kStartupTitle,
                                  onscreen::kStartupText, notice));
  // While the notice is open nothing else of the program is on the screen.
  const std::vector<HWND> visible = VisibleTopLevelWindowsOf(program.Id());
  ASSERT_EQ(visible.size(), 1u) << "windows on the screen besides the notice";
  EXPECT_EQ(visible.front(), notice);
  HWND hiddenWindow = program.FindMainWindow();
  if (hiddenWindow != nullptr) {
    EXPECT_FALSE(Visible(hiddenWindow));
  }
  EXPECT_EQ(GetWindow(notice, GW_OWNER), nullptr) << "the notice has an owner";

  ASSERT_TRUE(program.Dismiss(notice));
  ASSERT_TRUE(program.AwaitMainWindow());
  HWND window = program.Window();
  EXPECT_EQ(Utf8(TextOf(window)), Utf8(onscreen::kCaption));
  const RECT rect = WindowRectOf(window);
  const RECT centred{(kScreenWidth - kWindowWidth) / 2,
                     (kScreenHeight - kWindowHeight) / 2,
                     (kScreenWidth - kWindowWidth) / 2 + kWindowWidth,
                     (kScreenHeight - kWindowHeight) / 2 + kWindowHeight};
  EXPECT_TRUE(EqualRect(&rect, &centred))
      << "window at " << Describe(rect) << ", expected " << Describe(centred);
  EXPECT_NE(ExStyleOf(window) & WS_EX_TOPMOST, 0) << "not topmost";
  const LONG style = StyleOf(window);
  EXPECT_EQ(style & WS_MINIMIZEBOX, 0) << "has a minimise box";
  EXPECT_EQ(style & WS_MAXIMIZEBOX, 0) << "has a maximise box";
  EXPECT_EQ(style & WS_THICKFRAME, 0) << "can be resized by its frame";
  EXPECT_NE(style & WS_CAPTION, 0) << "has no title bar";
  EXPECT_NE(style & WS_SYSMENU, 0) << "has no system menu and close box";
  EXPECT_FALSE(IsIconic(window));
  EXPECT_FALSE(IsZoomed(window));
  EXPECT_TRUE(Eventually("the main window to be active", kUiTimeout,
                         [&] { return GetForegroundWindow() == window; }));
  EXPECT_TRUE(Eventually("a task-bar button of the main window", kUiTimeout,
                         [&] { return HasTaskBarButton(window); }));
  EXPECT_TRUE(program.Close(CloseMethod::CloseMessage));
}

struct ControlCase {
  Control control;
  const wchar_t* className;
  LONG buttonType;  // BS_* for buttons, -1 otherwise
  RECT rect;        // client coordinates: left, top, right, bottom
  std::wstring_view text;
};

// The layout as the user sees it. The combo box's height is checked on its
// own: a drop-down list is one line high when closed.
// clang-format off
const std::array kControls{
  ControlCase{Control::ChooserLabel, L"Static",   -1,              {16,  16, 116,  64}, onscreen::kChooserLabel},
  ControlCase{Control::Chooser,      L"ComboBox", -1,              {80,  29, 312,   0}, L""},
  ControlCase{Control::OptionsLabel, L"Static",   -1,              {16,  56,  80, 104}, onscreen::kOptionsLabel},
  ControlCase{Control::Cpu,          L"Button",   BS_AUTOCHECKBOX, {80,  70, 160,  94}, onscreen::kCpuOption},
  ControlCase{Control::Ram,          L"Button",   BS_AUTOCHECKBOX, {80,  96, 304, 120}, onscreen::kRamOption},
  ControlCase{Control::SwitchButton, L"Button",   BS_PUSHBUTTON,   {88, 136, 168, 168}, onscreen::kSwitchOn},
  ControlCase{Control::HideButton,   L"Button",   BS_PUSHBUTTON,   {192, 136, 272, 168}, onscreen::kHide},
};
// clang-format on

class MainWindowControls : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(program_.StartAndShow()); }
  void TearDown() override {
    if (program_.Running() && program_.Window() != nullptr) {
      EXPECT_TRUE(program_.Close(CloseMethod::CloseMessage));
    }
  }
  QiroProgram program_;
};

TEST_F(MainWindowControls, StandAtTheirPlacesWithTheirTexts) {
  for (const ControlCase& expected : kControls) {
    SCOPED_TRACE("control ID " +
                 std::to_string(static_cast<int>(expected.control)));
    HWND control = program_.ControlWindow(expected.control);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(ClassOf(control), expected.className);
    EXPECT_TRUE(Visible(control));
    EXPECT_TRUE(Enabled(control));
    if (expected.buttonType >= 0) {
      EXPECT_EQ(StyleOf(control) & BS_TYPEMASK, expected.buttonType);
    }
    const RECT rect = RectInParentClient(control);
    EXPECT_EQ(rect.left, expected.rect.left) << Describe(rect);
    EXPECT_EQ(rect.top, expected.rect.top) << Describe(rect);
    EXPECT_EQ(rect.right, expected.rect.right) << Describe(rect);
    if (expected.rect.bottom != 0) {
      EXPECT_EQ(rect.bottom, expected.rect.bottom) << Describe(rect);
    }
    EXPECT_EQ(Utf8(TextOf(control)), Utf8(expected.text));
  }
}

TEST_F(MainWindowControls, StartInTheirInitialStates) {
  EXPECT_EQ(SendWithin(program_.ControlWindow(Control::Cpu), BM_GETCHECK, 0, 0),
            BST_CHECKED);
  EXPECT_EQ(SendWithin(program_.ControlWindow(Control::Ram), BM_GETCHECK, 0, 0),
            BST_UNCHECKED);
  for (const Control button : {Control::SwitchButton, Control::HideButton}) {
    EXPECT_EQ(StyleOf(program_.ControlWindow(button)) & BS_DEFPUSHBUTTON, 0)
        << "control " << static_cast<int>(button) << " is a default button";
  }
  HWND chooser = program_.ControlWindow(Control::Chooser);
  const LONG style = StyleOf(chooser);
  EXPECT_EQ(style & 3, CBS_DROPDOWNLIST) << "not a drop-down list";
  EXPECT_EQ(style & CBS_SORT, 0) << "sorts its items";
  EXPECT_EQ(ComboCount(chooser), 0);
  EXPECT_EQ(ComboSelection(chooser), CB_ERR);
}

TEST_F(MainWindowControls, ChooserIsOneLineHighAndDropsTo160) {
  HWND chooser = program_.ControlWindow(Control::Chooser);
  const RECT closed = RectInParentClient(chooser);
  const auto fieldHeight = static_cast<int>(
      SendWithin(chooser, CB_GETITEMHEIGHT, static_cast<WPARAM>(-1), 0));
  const auto itemHeight =
      static_cast<int>(SendWithin(chooser, CB_GETITEMHEIGHT, 0, 0));
  ASSERT_GT(fieldHeight, 0);
  // One line: the selection field and the combo box's frame, no more.
  const int closedHeight = closed.bottom - closed.top;
  EXPECT_GE(closedHeight, fieldHeight) << Describe(closed);
  EXPECT_LE(closedHeight, fieldHeight + 8) << Describe(closed);
  EXPECT_LT(closedHeight, fieldHeight + itemHeight) << Describe(closed);
  // Open, the list hangs below the field; from the field's top to the
  // list's bottom is what the user sees as the open control. A list with
  // fewer items than fit is drawn shorter, so enough processes run to fill
  // it. (Wine's CB_GETDROPPEDCONTROLRECT gives the list's height alone.)
  Targets targets;
  ASSERT_TRUE(targets.Start());
  std::vector<TestProcess> more;
  for (int extra = 0; extra < 6; ++extra) {
    std::string failure;
    more.push_back(StartTarget(kLonerName, failure));
    ASSERT_TRUE(more.back()) << failure;
  }
  bool answered = false;
  SendWithin(chooser, CB_SHOWDROPDOWN, TRUE, 0, &answered);
  ASSERT_TRUE(answered);
  HWND list = nullptr;
  EXPECT_TRUE(Eventually("the chooser's open list", kUiTimeout, [&] {
    for (HWND window : VisibleTopLevelWindowsOf(program_.Id())) {
      if (ClassOf(window) == L"ComboLBox") {
        list = window;
      }
    }
    return list != nullptr;
  }));
  if (list != nullptr) {
    const RECT field = WindowRectOf(chooser);
    const RECT open = WindowRectOf(list);
    ASSERT_GT(ComboCount(chooser) * itemHeight, kDroppedHeight)
        << ComboCount(chooser) << " items do not fill the open list";
    EXPECT_EQ(open.top, field.bottom) << Describe(open);
    EXPECT_EQ(open.bottom - field.top, kDroppedHeight)
        << "field " << Describe(field) << ", list " << Describe(open);
  }
  SendWithin(chooser, CB_SHOWDROPDOWN, FALSE, 0);
}

}  // namespace
}  // namespace qiro::e2e
