// Waits for and answers QiroUlvane's notices and window from outside, for
// scripts that run the program without a user (scripts/run.sh):
//   QiroRemote await-notice startup|closing SECONDS
//   QiroRemote press-ok startup|closing SECONDS
//   QiroRemote await-window SECONDS
// Exit code 0 when done, 1 when what it waited for did not come in time,
// 2 for a wrong command line.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "support/Eventually.h"
#include "support/ProgramTexts.h"
#include "support/WideText.h"
#include "support/WindowQueries.h"

namespace {

using namespace qiro::e2e;

struct Notice {
  std::wstring_view title;
  std::wstring_view text;
};

BOOL CALLBACK Collect(HWND window, LPARAM context) {
  // EnumWindows hands back the pointer it was given, as an LPARAM.
  // NOLINTNEXTLINE(performance-no-int-to-ptr)
  reinterpret_cast<std::vector<HWND>*>(context)->push_back(window);
  return TRUE;
}

HWND VisibleWindow(std::wstring_view className, std::wstring_view title,
                   bool classMatches) {
  std::vector<HWND> windows;
  EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
  for (HWND window : windows) {
    if (Visible(window) && TextOf(window) == title &&
        (ClassOf(window) == className) == classMatches) {
      return window;
    }
  }
  return nullptr;
}

HWND VisibleNotice(const Notice& notice) {
  return VisibleWindow(L"#32770", notice.title, true);
}

int Report(const ::testing::AssertionResult& result, const std::string& done) {
  if (!result) {
    std::fprintf(stderr, "QiroRemote: %s\n", result.message());
    return 1;
  }
  std::printf("QiroRemote: %s\n", done.c_str());
  return 0;
}

int AwaitNotice(const Notice& notice, Milliseconds timeout) {
  HWND box = nullptr;
  auto shown =
      Eventually("the notice \"" + Utf8(notice.title) + "\"", timeout,
                 [&] { return (box = VisibleNotice(notice)) != nullptr; });
  if (shown) {
    bool textFound = false;
    for (const std::wstring& text : StaticTextsOf(box)) {
      textFound = textFound || text == notice.text;
    }
    if (!textFound) {
      shown = ::testing::AssertionFailure()
              << "the notice \"" << Utf8(notice.title) << "\" lacks its text \""
              << Utf8(notice.text) << "\"";
    }
  }
  return Report(shown,
                "the notice \"" + Utf8(notice.title) + "\" is on the screen");
}

int PressOkOn(const Notice& notice, Milliseconds timeout) {
  HWND box = nullptr;
  auto pressed =
      Eventually("the notice \"" + Utf8(notice.title) + "\"", timeout,
                 [&] { return (box = VisibleNotice(notice)) != nullptr; });
  if (pressed && !PressOk(box)) {
    pressed = ::testing::AssertionFailure() << "the notice has no OK button";
  }
  if (pressed) {
    pressed = Eventually("the notice to go after OK", timeout,
                         [&] { return !Exists(box) || !Visible(box); });
  }
  return Report(pressed, "pressed OK on \"" + Utf8(notice.title) + "\"");
}

int AwaitWindow(Milliseconds timeout) {
  auto shown = Eventually(
      "the main window \"" + Utf8(onscreen::kCaption) + "\"", timeout, [&] {
        return VisibleWindow(L"#32770", onscreen::kCaption, false) != nullptr;
      });
  return Report(shown, "the main window is on the screen");
}

}  // namespace

int main(int argc, char** argv) {
  const std::vector<std::string_view> args(argv + 1, argv + argc);
  const auto seconds = [&](std::size_t at) {
    return Milliseconds(at < args.size()
                            ? 1000 * std::atoi(std::string(args[at]).c_str())
                            : 30000);
  };
  const auto notice = [&](std::string_view which) -> const Notice* {
    static const Notice startup{onscreen::kStartupTitle,
                                onscreen::kStartupText};
    static const Notice closing{onscreen::kClosingTitle,
                                onscreen::kClosingText};
    return which == "startup"   ? &startup
           : which == "closing" ? &closing
                                : nullptr;
  };
  if (args.size() >= 2 && args[0] == "await-notice" &&
      notice(args[1]) != nullptr) {
    return AwaitNotice(*notice(args[1]), seconds(2));
  }
  if (args.size() >= 2 && args[0] == "press-ok" && notice(args[1]) != nullptr) {
    return PressOkOn(*notice(args[1]), seconds(2));
  }
  if (!args.empty() && args[0] == "await-window") {
    return AwaitWindow(seconds(1));
  }
  std::fprintf(
      stderr,
      "usage: QiroRemote await-notice|press-ok startup|closing [SECONDS]\n"
      "       QiroRemote await-window [SECONDS]\n");
  return 2;
}
