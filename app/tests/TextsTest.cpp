#include <gtest/gtest.h>
#include <iconv.h>

#include <ostream>
#include <string>

#include "app/Texts.h"
#include "platform/TrayTip.h"

namespace qiro {
namespace {

// Decodes code page 936 bytes with the C library's converter, so that the
// escaped bytes in the program are checked against the texts as written.
std::string Utf8From936(TextView bytes) {
  iconv_t converter = iconv_open("UTF-8", "GBK");
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv cannot convert from GBK";
    return {};
  }
  std::string input(bytes);
  std::string output(input.size() * 3 + 1, '\0');
  char* in = input.data();
  char* out = output.data();
  std::size_t inLeft = input.size();
  std::size_t outLeft = output.size();
  const std::size_t result = iconv(converter, &in, &inLeft, &out, &outLeft);
  iconv_close(converter);
  EXPECT_NE(result, static_cast<std::size_t>(-1)) << "not valid code page 936";
  output.resize(output.size() - outLeft);
  return output;
}

struct TextCase {
  const char* name;
  TextView bytes;
  const char* expected;
};

// Names a case in test output by its name, not its bytes.
void PrintTo(const TextCase& testCase, std::ostream* out) {
  *out << testCase.name;
}

class OwnTextsTest : public ::testing::TestWithParam<TextCase> {};

TEST_P(OwnTextsTest, IsTheTextAsWrittenInCodePage936) {
  EXPECT_EQ(Utf8From936(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    AllOwnTexts, OwnTextsTest,
    ::testing::Values(
        TextCase{"WindowCaption", texts::kWindowCaption, "QiroUlvane-程序优化"},
        TextCase{"ChooserLabel", texts::kChooserLabel, "程序进程："},
        TextCase{"OptionsLabel", texts::kOptionsLabel, "优化类型："},
        TextCase{"CpuOption", texts::kCpuOptionText, "优化CPU"},
        TextCase{"RamOption", texts::kRamOptionText,
                 "优化内存（请勿对大型游戏启用）"},
        TextCase{"SwitchOn", texts::kSwitchOnCaption, "开始优化"},
        TextCase{"SwitchOff", texts::kSwitchOffCaption, "关闭优化"},
        TextCase{"HideButton", texts::kHideButtonText, "最小化"},
        TextCase{"StartupText", texts::kStartupNoticeText,
                 "请确保Qiro已获得管理员权限，否则优化将会失效！"},
        TextCase{"StartupTitle", texts::kStartupNoticeTitle, "注意"},
        TextCase{"ClosingText", texts::kClosingNoticeText,
                 "由于您关闭了游戏加速工具，我们将停止对程序的优化"},
        TextCase{"ClosingTitle", texts::kClosingNoticeTitle, "您好"},
        TextCase{"BuildFailedText", texts::kBuildFailedText,
                 "无法创建主窗口，程序将退出。"},
        TextCase{"FontFace", texts::kFontFace, "微软雅黑"}),
    [](const ::testing::TestParamInfo<TextCase>& testInfo) {
      return std::string(testInfo.param.name);
    });

struct TipCase {
  const char* name;
  std::string text;
  std::size_t maxBytes;
  std::size_t keptBytes;
};

// Names a case in test output by its name, not its bytes.
void PrintTo(const TipCase& testCase, std::ostream* out) {
  *out << testCase.name;
}

class TrayTipTest : public ::testing::TestWithParam<TipCase> {};

TEST_P(TrayTipTest, KeepsWholeCharactersOnly) {
  const TipCase& tip = GetParam();
  EXPECT_EQ(KeepWholeCharacters(tip.text, tip.maxBytes),
            TextView(tip.text).substr(0, tip.keptBytes));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, TrayTipTest,
    ::testing::Values(
        TipCase{"ShortTextWhole", std::string(texts::kWindowCaption), 62, 19},
        TipCase{"AsciiCutAtLimit", std::string(70, 'a'), 62, 62},
        // 31 pairs fill 62 bytes exactly.
        TipCase{"PairsFillLimit", std::string(64, '\xB3'), 62, 62},
        // One ASCII byte first: the pair that would straddle 62 is dropped.
        TipCase{"PairStraddlingLimitDropped", "a" + std::string(64, '\xB3'), 62,
                61},
        TipCase{"LoneLeadByteAtEndDropped", "ab\xB3", 62, 2},
        TipCase{"Empty", "", 62, 0}),
    [](const ::testing::TestParamInfo<TipCase>& testInfo) {
      return std::string(testInfo.param.name);
    });

}  // namespace
}  // namespace qiro
