#include "support/QiroProgram.h"

#include <algorithm>
#include <array>
#include <cstdlib>

#include "support/DesktopShell.h"
#include "support/Environment.h"
#include "support/ProgramTexts.h"
#include "support/UnixShell.h"
#include "support/WideText.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

constexpr std::wstring_view kExeName = L"QiroUlvane.exe";
constexpr Milliseconds kExitTimeout = 10s;

bool FileExists(const std::wstring& path) {
  return !path.empty() &&
         GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

::testing::AssertionResult ProgramPresent() {
  const E2ePaths& paths = Paths();
  if (!FileExists(paths.programExe)) {
    return ::testing::AssertionFailure()
           << "QiroUlvane.exe not found (QIRO_E2E_PROGRAM="
           << paths.programExeUnix << "): build the windows-i686 preset first";
  }
  return ::testing::AssertionSuccess();
}

std::string Joined(const std::vector<std::wstring>& texts) {
  std::string joined;
  for (const std::wstring& text : texts) {
    joined += (joined.empty() ? "\"" : ", \"") + Utf8(text) + "\"";
  }
  return joined.empty() ? "none" : joined;
}

bool HasKeyboardFocus(HWND window) {
  if (GetForegroundWindow() != window) {
    return false;
  }
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ==
      FALSE) {
    return false;
  }
  return info.hwndFocus == window || IsChild(window, info.hwndFocus) != FALSE;
}

bool PostTo(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return PostMessageW(window, message, wParam, lParam) != 0;
}

}  // namespace

::testing::AssertionResult QiroProgram::Start(LaunchMode mode) {
  if (auto present = ProgramPresent(); !present) {
    return present;
  }
  switch (mode) {
    case LaunchMode::Direct: {
      std::string failure;
      process_ = StartProcess(Paths().programExe, L"", failure);
      if (!process_) {
        return ::testing::AssertionFailure() << failure;
      }
      return ::testing::AssertionSuccess();
    }
    case LaunchMode::CodePage1252:
      return StartThroughShell("LANG=C.UTF-8", "codepage");
    case LaunchMode::RelayTraced:
      return StartThroughShell("WINEDEBUG=+relay", "relay");
  }
  return ::testing::AssertionFailure() << "unknown launch mode";
}

::testing::AssertionResult QiroProgram::StartThroughShell(
    const std::string& settings, const std::string& logName) {
  const E2ePaths& paths = Paths();
  const std::string log =
      logName + "-" + std::to_string(GetTickCount()) + ".log";
  const std::set<DWORD> before = ProcessIdsNamed(std::wstring(kExeName));
  const std::string script = "cd " + ShellQuoted(paths.workDirUnix) + " && " +
                             settings + " exec wine " +
                             ShellQuoted(paths.programExeUnix) +
                             " </dev/null >/dev/null 2>" + ShellQuoted(log);
  if (!StartUnixShell(script)) {
    return ::testing::AssertionFailure()
           << "could not start /bin/sh to run: " << script;
  }
  std::string failure;
  process_ =
      AwaitNewProcess(std::wstring(kExeName), before, kStartTimeout, failure);
  if (!process_) {
    return ::testing::AssertionFailure()
           << failure << " (started with: " << script << ")";
  }
  trace_.emplace(paths.workDir + L"\\" + Utf16(log));
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult QiroProgram::AwaitNotice(std::wstring_view title,
                                                    std::wstring_view text,
                                                    HWND& notice) const {
  const std::wstring wanted(title);
  auto shown = Eventually(
      "the notice \"" + Utf8(title) + "\" of process " + std::to_string(Id()),
      kStartTimeout, [&] {
        notice = MessageBoxOf(Id(), wanted);
        return notice != nullptr;
      });
  if (!shown) {
    return shown;
  }
  const std::vector<std::wstring> texts = StaticTextsOf(notice);
  if (std::find(texts.begin(), texts.end(), text) != texts.end()) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << "the notice \"" << Utf8(title) << "\" says " << Joined(texts)
         << " instead of \"" << Utf8(text) << "\"";
}

::testing::AssertionResult QiroProgram::Dismiss(HWND notice) {
  if (!PressOk(notice)) {
    return ::testing::AssertionFailure() << "the notice has no OK button";
  }
  return Eventually("the notice to go after OK", kUiTimeout,
                    [&] { return !Exists(notice) || !Visible(notice); });
}

HWND QiroProgram::FindMainWindow() const {
  const std::vector<HWND> windows = TopLevelWindowsOf(Id());
  const auto found =
      std::find_if(windows.begin(), windows.end(), [](HWND window) {
        return ClassOf(window) != L"#32770" &&
               e2e::TextOf(window) == onscreen::kCaption;
      });
  return found != windows.end() ? *found : nullptr;
}

::testing::AssertionResult QiroProgram::AwaitMainWindow() {
  return Eventually(
      "the main window \"" + Utf8(onscreen::kCaption) + "\" on the screen",
      kUiTimeout, [&] {
        window_ = FindMainWindow();
        return window_ != nullptr && Visible(window_);
      });
}

::testing::AssertionResult QiroProgram::StartAndShow(LaunchMode mode) {
  if (auto started = Start(mode); !started) {
    return started;
  }
  HWND notice = nullptr;
  if (auto shown =
          AwaitNotice(onscreen::kStartupTitle, onscreen::kStartupText, notice);
      !shown) {
    return shown;
  }
  if (auto dismissed = Dismiss(notice); !dismissed) {
    return dismissed;
  }
  return AwaitMainWindow();
}

HWND QiroProgram::ControlWindow(Control control) const {
  return GetDlgItem(window_, static_cast<int>(control));
}

std::wstring QiroProgram::TextOf(Control control) const {
  return e2e::TextOf(ControlWindow(control));
}

::testing::AssertionResult QiroProgram::Click(Control control) const {
  HWND button = ControlWindow(control);
  if (button == nullptr) {
    return ::testing::AssertionFailure()
           << "no control with ID " << static_cast<int>(control);
  }
  bool answered = false;
  SendWithin(button, BM_CLICK, 0, 0, &answered);
  if (!answered) {
    return ::testing::AssertionFailure()
           << "BM_CLICK on control " << static_cast<int>(control)
           << " was not answered within 5 s";
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult QiroProgram::AwaitExitCode(DWORD expected) const {
  const std::optional<DWORD> code = process_.AwaitExit(kExitTimeout);
  if (!code) {
    return ::testing::AssertionFailure() << "the process did not end within "
                                         << kExitTimeout.count() << " ms";
  }
  if (*code != expected) {
    return ::testing::AssertionFailure()
           << "the process ended with exit code " << static_cast<long>(*code)
           << " instead of " << expected;
  }
  return ::testing::AssertionSuccess();
}

::testing::AssertionResult QiroProgram::Close(CloseMethod method) {
  if (window_ == nullptr) {
    return ::testing::AssertionFailure() << "no main window to close";
  }
  const bool byKeys =
      method == CloseMethod::EscapeKey || method == CloseMethod::AltF4Keys;
  if (byKeys) {
    // Keys go to the focused control of the active window: the program
    // activates its window, and the focus comes to it a moment later, in
    // Windows and then in the X server.
    if (auto active = Eventually(
            "the main window to be active with the keyboard focus in it",
            kUiTimeout,
            [&] {
              return HasKeyboardFocus(window_) && HasXKeyboardFocus(window_);
            });
        !active) {
      return active;
    }
  }
  bool sent = false;
  switch (method) {
    case CloseMethod::EscapeKey:
      sent = PressKeys("Escape");
      break;
    case CloseMethod::AltF4Keys:
      sent = PressKeys("alt+F4");
      break;
    case CloseMethod::CloseMessage:
      sent = PostTo(window_, WM_CLOSE, 0, 0);
      break;
    case CloseMethod::SystemMenuClose:
      sent = PostTo(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
      break;
  }
  if (!sent) {
    return ::testing::AssertionFailure() << "could not send the close request";
  }
  if (auto gone = Eventually("the main window to leave the screen", kUiTimeout,
                             [&] { return !Visible(window_); });
      !gone) {
    return gone;
  }
  HWND notice = nullptr;
  if (auto shown =
          AwaitNotice(onscreen::kClosingTitle, onscreen::kClosingText, notice);
      !shown) {
    return shown;
  }
  if (Visible(window_)) {
    return ::testing::AssertionFailure()
           << "the main window is on the screen again while the closing notice "
              "is open";
  }
  if (auto dismissed = Dismiss(notice); !dismissed) {
    return dismissed;
  }
  return AwaitExitCode(0);
}

unsigned CodePageUnder(const std::string& settings) {
  const E2ePaths& paths = Paths();
  const std::string output = paths.workDirUnix + "/code-page.txt";
  const std::string target = paths.targetsDirUnix + "/QiroE2eLoner.exe";
  const auto status =
      RunUnixShell(settings + " wine " + ShellQuoted(target) +
                       " --print-code-page >" + ShellQuoted(output),
                   kStartTimeout);
  if (!status || *status != 0) {
    return 0;
  }
  HANDLE file =
      CreateFileW((paths.workDir + L"\\code-page.txt").c_str(), GENERIC_READ,
                  FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return 0;
  }
  std::array<char, 32> text{};
  DWORD read = 0;
  ReadFile(file, text.data(), static_cast<DWORD>(text.size() - 1), &read,
           nullptr);
  CloseHandle(file);
  return static_cast<unsigned>(std::strtoul(text.data(), nullptr, 10));
}

}  // namespace qiro::e2e
