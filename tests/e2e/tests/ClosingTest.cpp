// Closing the window every way a user or another program can, and running
// several copies at once.
#include <gtest/gtest.h>

#include "support/ProgramTexts.h"
#include "support/QiroProgram.h"
#include "support/WideText.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

// Read through GetParam(), which cppcheck does not follow.
struct CloseCase {
  const char* name;    // cppcheck-suppress unusedStructMember
  CloseMethod method;  // cppcheck-suppress unusedStructMember
};

class ClosingTest : public ::testing::TestWithParam<CloseCase> {};

// Window off the screen, then the closing notice, then exit code 0.
TEST_P(ClosingTest, ShowsTheClosingNoticeAndEndsWithCodeZero) {
  QiroProgram program;
  ASSERT_TRUE(program.StartAndShow());
  EXPECT_TRUE(program.Close(GetParam().method));
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, ClosingTest,
    ::testing::Values(CloseCase{"EscapeKey", CloseMethod::EscapeKey},
                      CloseCase{"AltF4", CloseMethod::AltF4Keys},
                      CloseCase{"WmClose", CloseMethod::CloseMessage},
                      CloseCase{"SystemMenuClose",
                                CloseMethod::SystemMenuClose}),
    [](const ::testing::TestParamInfo<CloseCase>& param) {
      return param.param.name;
    });

TEST(Copies, TwoRunSideBySideEachWithItsOwnWindowAndNotices) {
  QiroProgram first;
  QiroProgram second;
  ASSERT_TRUE(first.Start());
  ASSERT_TRUE(second.Start());
  HWND firstNotice = nullptr;
  HWND secondNotice = nullptr;
  ASSERT_TRUE(first.AwaitNotice(onscreen::kStartupTitle, onscreen::kStartupText,
                                firstNotice));
  ASSERT_TRUE(second.AwaitNotice(onscreen::kStartupTitle,
                                 onscreen::kStartupText, secondNotice));
  EXPECT_NE(firstNotice, secondNotice);
  ASSERT_TRUE(first.Dismiss(firstNotice));
  ASSERT_TRUE(first.AwaitMainWindow());
  // The second copy's notice is still waiting for its own OK.
  EXPECT_TRUE(Visible(secondNotice));
  EXPECT_EQ(
      second.FindMainWindow() == nullptr || !Visible(second.FindMainWindow()),
      true)
      << "the second copy's window is on the screen before its notice was "
         "answered";
  ASSERT_TRUE(second.Dismiss(secondNotice));
  ASSERT_TRUE(second.AwaitMainWindow());
  EXPECT_NE(first.Window(), second.Window());
  EXPECT_EQ(Utf8(TextOf(second.Window())), Utf8(onscreen::kCaption));

  // Closing one leaves the other running with its window.
  ASSERT_TRUE(first.Close(CloseMethod::CloseMessage));
  EXPECT_TRUE(second.Running());
  EXPECT_TRUE(Visible(second.Window()));
  EXPECT_TRUE(second.Close(CloseMethod::CloseMessage));
}

}  // namespace
}  // namespace qiro::e2e
