#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>

#include "support/Eventually.h"
#include "support/Processes.h"
#include "support/RelayTrace.h"

namespace qiro::e2e {

// The program's child controls: ID 100 + the control's row in the layout.
enum class Control : int {
  ChooserLabel = 100,
  Chooser = 101,
  OptionsLabel = 102,
  Cpu = 103,
  Ram = 104,
  SwitchButton = 105,
  HideButton = 106,
};

enum class LaunchMode {
  Direct,        // CreateProcess from the driver, code page 936
  CodePage1252,  // through /bin/sh with LANG=C.UTF-8
  RelayTraced,   // through /bin/sh with WINEDEBUG=+relay into a log
};

enum class CloseMethod {
  EscapeKey,        // xdotool key Escape
  AltF4Keys,        // xdotool key alt+F4
  CloseMessage,     // WM_CLOSE from another program
  SystemMenuClose,  // Close in the system menu (the close box does this)
};

inline constexpr Milliseconds kStartTimeout = 20s;
inline constexpr Milliseconds kUiTimeout = 5s;

// One running QiroUlvane.exe, seen and worked from outside. Ends the
// process on destruction if a test left it running.
class QiroProgram {
 public:
  // Starts the program; the start-up notice should follow.
  ::testing::AssertionResult Start(LaunchMode mode = LaunchMode::Direct);
  // Waits for a notice of the program with that title and checks its text.
  ::testing::AssertionResult AwaitNotice(std::wstring_view title,
                                         std::wstring_view text,
                                         HWND& notice) const;
  // OK on a notice, and waits until it has gone.
  static ::testing::AssertionResult Dismiss(HWND notice);
  // Waits until the main window is on the screen.
  ::testing::AssertionResult AwaitMainWindow();
  // Start, start-up notice, OK, main window.
  ::testing::AssertionResult StartAndShow(LaunchMode mode = LaunchMode::Direct);
  // Closes the window the given way, then checks the closing sequence
  // through to the process's exit code 0.
  ::testing::AssertionResult Close(CloseMethod method);
  ::testing::AssertionResult AwaitExitCode(DWORD expected) const;

  // The main window (hidden or shown), found by its caption; null if none.
  [[nodiscard]] HWND FindMainWindow() const;
  [[nodiscard]] HWND Window() const { return window_; }
  [[nodiscard]] HWND ControlWindow(Control control) const;
  [[nodiscard]] DWORD Id() const { return process_.Id(); }
  [[nodiscard]] const RelayLog& Trace() const { return *trace_; }
  [[nodiscard]] bool Running() const { return process_.Running(); }

  // BM_CLICK on a button or check box; returns when it has been handled.
  ::testing::AssertionResult Click(Control control) const;
  [[nodiscard]] std::wstring TextOf(Control control) const;

 private:
  ::testing::AssertionResult StartThroughShell(const std::string& settings,
                                               const std::string& logName);

  TestProcess process_;
  HWND window_ = nullptr;
  std::optional<RelayLog> trace_;
};

// The ANSI code page that a Windows program started with these shell
// settings runs with, as the sleeping target reports it; 0 if unknown.
unsigned CodePageUnder(const std::string& settings);

}  // namespace qiro::e2e
