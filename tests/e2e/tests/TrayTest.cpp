// Hiding to the notification area and coming back, as a user clicks it on
// the virtual desktop's task bar.
#include <gtest/gtest.h>
#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "support/DesktopShell.h"
#include "support/QiroProgram.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

constexpr int kLeftButton = 1;
constexpr int kRightButton = 3;
// Time for a click that should change nothing to have changed something.
constexpr Milliseconds kSettleTime = 800ms;
// The icon IDs tried when taking the program's icon away from outside.
constexpr UINT kHighestIconId = 1024;

bool Centred(HWND window) {
  const RECT rect = WindowRectOf(window);
  return rect.left == (kScreenWidth - (rect.right - rect.left)) / 2 &&
         rect.top == (kScreenHeight - (rect.bottom - rect.top)) / 2;
}

class Tray : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(Eventually("an empty notification area", kUiTimeout, [] {
      return NotificationIconCount() == 0;
    })) << "an icon of an earlier program is still there";
    ASSERT_TRUE(program_.StartAndShow());
    window_ = program_.Window();
  }
  void TearDown() override {
    if (program_.Running() && program_.Window() != nullptr) {
      EXPECT_TRUE(program_.Close(CloseMethod::CloseMessage));
    }
  }

  [[nodiscard]] ::testing::AssertionResult Hidden() const {
    return Eventually(
        "the window to be hidden, without a task-bar button", kUiTimeout,
        [&] { return !Visible(window_) && !HasTaskBarButton(window_); });
  }
  [[nodiscard]] ::testing::AssertionResult ShownCentred() const {
    return Eventually(
        "the window to be shown again, centred, with its task-bar button",
        kUiTimeout, [&] {
          return Visible(window_) && Centred(window_) &&
                 HasTaskBarButton(window_);
        });
  }
  [[nodiscard]] static ::testing::AssertionResult OneIcon() {
    return Eventually("exactly one notification icon", kUiTimeout,
                      [] { return NotificationIconCount() == 1; });
  }
  [[nodiscard]] static ::testing::AssertionResult ClickIcon(int button) {
    if (!ClickAt(NotificationIconCentre(), button)) {
      return ::testing::AssertionFailure()
             << "xdotool could not click the icon";
    }
    return ::testing::AssertionSuccess();
  }

  QiroProgram program_;
  HWND window_ = nullptr;
};

TEST_F(Tray, HideButtonHidesBehindOneIconAndLeftClicksToggleTheWindow) {
  EXPECT_TRUE(NotificationIconCount() == 0) << "an icon before the first hide";
  // Moved away by the user: it must come back centred.
  ASSERT_TRUE(SetWindowPos(window_, nullptr, 10, 20, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
  ASSERT_FALSE(Centred(window_));

  ASSERT_TRUE(program_.Click(Control::HideButton));
  EXPECT_TRUE(Hidden());
  ASSERT_TRUE(OneIcon());

  ASSERT_TRUE(ClickIcon(kLeftButton));
  EXPECT_TRUE(ShownCentred());
  EXPECT_TRUE(OneIcon());

  ASSERT_TRUE(ClickIcon(kLeftButton));
  EXPECT_TRUE(Hidden());
  EXPECT_TRUE(OneIcon());

  ASSERT_TRUE(ClickIcon(kRightButton));
  EXPECT_TRUE(Throughout("the window to stay hidden after a right click",
                         kSettleTime, [&] { return !Visible(window_); }));
  ASSERT_TRUE(ClickIcon(kLeftButton));
  EXPECT_TRUE(ShownCentred());
  ASSERT_TRUE(ClickIcon(kRightButton));
  EXPECT_TRUE(Throughout("the window to stay shown after a right click",
                         kSettleTime, [&] { return Visible(window_); }));

  // Each of a double click's two releases toggles: it ends as it was.
  ASSERT_TRUE(DoubleClickAt(NotificationIconCentre()));
  Pause(kSettleTime);
  EXPECT_TRUE(ShownCentred());

  // Hiding again renews the same icon; there is still only one.
  ASSERT_TRUE(program_.Click(Control::HideButton));
  EXPECT_TRUE(Hidden());
  EXPECT_TRUE(Throughout("exactly one notification icon", kSettleTime,
                         [] { return NotificationIconCount() == 1; }));

  // Closing (here while hidden) removes the icon with the window.
  ASSERT_TRUE(program_.Close(CloseMethod::CloseMessage));
  EXPECT_TRUE(Eventually("the notification icon to go", kUiTimeout,
                         [] { return NotificationIconCount() == 0; }));
}

// Takes the program's icon away as a restarting shell loses it: the icon's
// ID is the program's choice, so every small ID is tried.
void RemoveIconsOf(HWND window) {
  for (UINT id = 0; id <= kHighestIconId; ++id) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = id;
    Shell_NotifyIconW(NIM_DELETE, &data);
  }
}

TEST_F(Tray, IconComesBackWhenTheShellRestarts) {
  ASSERT_TRUE(program_.Click(Control::HideButton));
  ASSERT_TRUE(Hidden());
  ASSERT_TRUE(OneIcon());

  RemoveIconsOf(window_);
  ASSERT_TRUE(Eventually("the icon to go", kUiTimeout,
                         [] { return NotificationIconCount() == 0; }))
      << "could not take the icon away to play a restarting shell (no ID up to "
      << kHighestIconId << " matched)";
  const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
  ASSERT_NE(taskbarCreated, 0u);
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(HWND_BROADCAST, taskbarCreated, 0, 0, SMTO_ABORTIFHUNG,
                      5000, &ignored);

  ASSERT_TRUE(OneIcon()) << "the icon was not put back after TaskbarCreated";
  ASSERT_TRUE(ClickIcon(kLeftButton));
  EXPECT_TRUE(ShownCentred());
}

}  // namespace
}  // namespace qiro::e2e
