// The program's texts are code page 936 whatever the system's ANSI code
// page is: under a Western locale (code page 1252) a user still reads the
// right Chinese.
#include <gtest/gtest.h>

#include "support/ProgramTexts.h"
#include "support/QiroProgram.h"
#include "support/WideText.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

constexpr const char* kWesternLocale = "LANG=C.UTF-8";

TEST(CodePage, TextsStayChineseUnderCodePage1252) {
  // Without this the test would prove nothing: a program started the same
  // way must really run with another code page.
  ASSERT_EQ(CodePageUnder(kWesternLocale), 1252u)
      << "a program started with " << kWesternLocale
      << " does not run with code page 1252";

  QiroProgram program;
  ASSERT_TRUE(program.Start(LaunchMode::CodePage1252));
  HWND notice = nullptr;
  ASSERT_TRUE(program.AwaitNotice(onscreen::kStartupTitle,
                                  onscreen::kStartupText, notice));
  ASSERT_TRUE(program.Dismiss(notice));
  ASSERT_TRUE(program.AwaitMainWindow());
  EXPECT_EQ(Utf8(TextOf(program.Window())), Utf8(onscreen::kCaption));
  EXPECT_EQ(Utf8(program.TextOf(Control::ChooserLabel)),
            Utf8(onscreen::kChooserLabel));
  EXPECT_EQ(Utf8(program.TextOf(Control::OptionsLabel)),
            Utf8(onscreen::kOptionsLabel));
  EXPECT_EQ(Utf8(program.TextOf(Control::Cpu)), Utf8(onscreen::kCpuOption));
  EXPECT_EQ(Utf8(program.TextOf(Control::Ram)), Utf8(onscreen::kRamOption));
  EXPECT_EQ(Utf8(program.TextOf(Control::SwitchButton)),
            Utf8(onscreen::kSwitchOn));
  EXPECT_EQ(Utf8(program.TextOf(Control::HideButton)), Utf8(onscreen::kHide));
  // The switch compares its caption with its own text: it must still work.
  ASSERT_TRUE(program.Click(Control::SwitchButton));
  EXPECT_EQ(Utf8(program.TextOf(Control::SwitchButton)),
            Utf8(onscreen::kSwitchOff));
  ASSERT_TRUE(program.Click(Control::SwitchButton));
  EXPECT_EQ(Utf8(program.TextOf(Control::SwitchButton)),
            Utf8(onscreen::kSwitchOn));
  // Closing checks the closing notice's title and text.
  EXPECT_TRUE(program.Close(CloseMethod::CloseMessage));
}

}  // namespace
}  // namespace qiro::e2e
