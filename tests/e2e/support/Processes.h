#pragma once

#include <windows.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "support/Eventually.h"

namespace qiro::e2e {

// One entry of a process snapshot, as the driver sees it.
struct SnapshotEntry {
  DWORD processId = 0;
  std::wstring exeName;
  friend bool operator==(const SnapshotEntry&, const SnapshotEntry&) = default;
};

// The running processes in snapshot order (Toolhelp, wide names).
std::vector<SnapshotEntry> TakeProcessSnapshot();
std::set<DWORD> ProcessIdsNamed(const std::wstring& exeName);
// The first process of that name in snapshot order, 0 if none.
DWORD FirstProcessNamed(const std::wstring& exeName);

// GetPriorityClass as a third process reads it; nothing if it cannot open
// the process.
std::optional<DWORD> PriorityClassOf(DWORD processId);
bool SetPriorityClassOf(DWORD processId, DWORD priorityClass);

// A process the driver started or found. Ends it on destruction if it is
// still running, so that a failed test leaves nothing behind.
class TestProcess {
 public:
  TestProcess() = default;
  TestProcess(HANDLE process, DWORD processId)
      : handle_(process), processId_(processId) {}
  TestProcess(TestProcess&& other) noexcept;
  TestProcess& operator=(TestProcess&& other) noexcept;
  TestProcess(const TestProcess&) = delete;
  TestProcess& operator=(const TestProcess&) = delete;
  ~TestProcess();

  [[nodiscard]] DWORD Id() const { return processId_; }
  [[nodiscard]] HANDLE Handle() const { return handle_; }
  explicit operator bool() const { return handle_ != nullptr; }
  [[nodiscard]] bool Running() const;
  // The exit code once it has ended within the timeout.
  [[nodiscard]] std::optional<DWORD> AwaitExit(Milliseconds timeout) const;
  void Terminate();

 private:
  HANDLE handle_ = nullptr;
  DWORD processId_ = 0;
};

// CreateProcessW of a Windows program; an empty result on failure, with
// the reason in failure.
TestProcess StartProcess(const std::wstring& exePath,
                         const std::wstring& arguments, std::string& failure);

// Waits for a process of that name that is not among known, and opens it
// (for processes started through the Unix side, which gives no handle).
TestProcess AwaitNewProcess(const std::wstring& exeName,
                            const std::set<DWORD>& known, Milliseconds timeout,
                            std::string& failure);

}  // namespace qiro::e2e
