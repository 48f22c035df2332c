#include "support/UnixShell.h"

#include <windows.h>

#include <array>
#include <atomic>
#include <cstdlib>

#include "support/Environment.h"
#include "support/WideText.h"

namespace qiro::e2e {
namespace {

bool Launch(std::string_view script) {
  if (script.find_first_of("\"\\") != std::string_view::npos) {
    return false;
  }
  std::wstring commandLine = L"/bin/sh -c \"" + Utf16(script) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0,
                     nullptr, nullptr, &startup, &process) == FALSE) {
    return false;
  }
  // Unix processes come without handles; close whatever came back.
  if (process.hThread != nullptr) {
    CloseHandle(process.hThread);
  }
  if (process.hProcess != nullptr) {
    CloseHandle(process.hProcess);
  }
  return true;
}

std::optional<int> ReadStatus(const std::wstring& path) {
  HANDLE file =
      CreateFileW(path.c_str(), GENERIC_READ,
                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return std::nullopt;
  }
  std::array<char, 32> text{};
  DWORD read = 0;
  const BOOL ok = ReadFile(file, text.data(),
                           static_cast<DWORD>(text.size() - 1), &read, nullptr);
  CloseHandle(file);
  if (ok == FALSE || read == 0) {
    return std::nullopt;
  }
  return std::atoi(text.data());
}

}  // namespace

std::string ShellQuoted(std::string_view text) {
  std::string quoted = "'";
  for (const char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

bool StartUnixShell(std::string_view script) { return Launch(script); }

std::optional<int> RunUnixShell(std::string_view script, Milliseconds timeout) {
  static std::atomic<int> counter{0};
  const E2ePaths& paths = Paths();
  if (paths.workDirUnix.empty() || paths.workDir.empty()) {
    return std::nullopt;
  }
  const std::string name = "unix-" + std::to_string(GetCurrentProcessId()) +
                           "-" + std::to_string(++counter) + ".status";
  const std::string statusUnix = paths.workDirUnix + "/" + name;
  const std::wstring status = paths.workDir + L"\\" + Utf16(name);
  // Written under another name and renamed, so that a status file is
  // complete whenever it exists.
  const std::string wrapped =
      std::string("{ ") + std::string(script) + "; }; echo $? >" +
      ShellQuoted(statusUnix + ".tmp") + "; mv " +
      ShellQuoted(statusUnix + ".tmp") + " " + ShellQuoted(statusUnix);
  if (!Launch(wrapped)) {
    return std::nullopt;
  }
  std::optional<int> result;
  const bool ended = Eventually("a Unix command to end", timeout, [&] {
    result = ReadStatus(status);
    return result.has_value();
  });
  if (!ended) {
    return std::nullopt;
  }
  DeleteFileW(status.c_str());
  return result;
}

}  // namespace qiro::e2e
