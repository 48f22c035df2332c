#include "support/Processes.h"

#include <tlhelp32.h>

#include <algorithm>
#include <utility>

#include "support/WideText.h"

namespace qiro::e2e {
namespace {

// Lower-case ASCII only: the names compared here are our own file names.
std::wstring Folded(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) {
    return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c;
  });
  return text;
}

class ScopedHandle {
 public:
  explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
  ScopedHandle(const ScopedHandle&) = delete;
  ScopedHandle& operator=(const ScopedHandle&) = delete;
  ScopedHandle(ScopedHandle&&) = delete;
  ScopedHandle& operator=(ScopedHandle&&) = delete;
  ~ScopedHandle() {
    if (Valid()) {
      CloseHandle(handle_);
    }
  }
  [[nodiscard]] HANDLE Get() const { return handle_; }
  [[nodiscard]] bool Valid() const {
    return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE handle_;
};

}  // namespace

std::vector<SnapshotEntry> TakeProcessSnapshot() {
  std::vector<SnapshotEntry> entries;
  const ScopedHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot.Valid()) {
    return entries;
  }
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more != FALSE;
       more = Process32NextW(snapshot.Get(), &entry)) {
    entries.push_back({entry.th32ProcessID, std::wstring(&entry.szExeFile[0])});
  }
  return entries;
}

std::set<DWORD> ProcessIdsNamed(const std::wstring& exeName) {
  std::set<DWORD> ids;
  for (const SnapshotEntry& entry : TakeProcessSnapshot()) {
    if (Folded(entry.exeName) == Folded(exeName)) {
      ids.insert(entry.processId);
    }
  }
  return ids;
}

DWORD FirstProcessNamed(const std::wstring& exeName) {
  const std::vector<SnapshotEntry> entries = TakeProcessSnapshot();
  const auto first = std::find_if(
      entries.begin(), entries.end(), [&](const SnapshotEntry& entry) {
        return Folded(entry.exeName) == Folded(exeName);
      });
  return first != entries.end() ? first->processId : 0;
}

std::optional<DWORD> PriorityClassOf(DWORD processId) {
  const ScopedHandle process(
      OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
  if (!process.Valid()) {
    return std::nullopt;
  }
  const DWORD priorityClass = GetPriorityClass(process.Get());
  if (priorityClass == 0) {
    return std::nullopt;
  }
  return priorityClass;
}

bool SetPriorityClassOf(DWORD processId, DWORD priorityClass) {
  const ScopedHandle process(
      OpenProcess(PROCESS_SET_INFORMATION, FALSE, processId));
  return process.Valid() &&
         SetPriorityClass(process.Get(), priorityClass) != FALSE;
}

TestProcess::TestProcess(TestProcess&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)),
      processId_(std::exchange(other.processId_, 0)) {}

TestProcess& TestProcess::operator=(TestProcess&& other) noexcept {
  if (this != &other) {
    Terminate();
    handle_ = std::exchange(other.handle_, nullptr);
    processId_ = std::exchange(other.processId_, 0);
  }
  return *this;
}

TestProcess::~TestProcess() { Terminate(); }

bool TestProcess::Running() const {
  return handle_ != nullptr && WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> TestProcess::AwaitExit(Milliseconds timeout) const {
  if (handle_ == nullptr ||
      WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) !=
          WAIT_OBJECT_0) {
    return std::nullopt;
  }
  DWORD code = 0;
  if (GetExitCodeProcess(handle_, &code) == FALSE) {
    return std::nullopt;
  }
  return code;
}

void TestProcess::Terminate() {
  if (handle_ == nullptr) {
    return;
  }
  if (Running()) {
    TerminateProcess(handle_, 0xDEAD);
    WaitForSingleObject(handle_, 5000);
  }
  CloseHandle(handle_);
  handle_ = nullptr;
  processId_ = 0;
}

TestProcess StartProcess(const std::wstring& exePath,
                         const std::wstring& arguments, std::string& failure) {
  std::wstring commandLine = L"\"" + exePath + L"\"";
  if (!arguments.empty()) {
    commandLine += L" " + arguments;
  }
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (CreateProcessW(exePath.c_str(), commandLine.data(), nullptr, nullptr,
                     FALSE, 0, nullptr, nullptr, &startup, &process) == FALSE) {
    failure = "CreateProcessW(" + Utf8(exePath) + ") failed with error " +
              std::to_string(GetLastError());
    return {};
  }
  CloseHandle(process.hThread);
  return {process.hProcess, process.dwProcessId};
}

TestProcess AwaitNewProcess(const std::wstring& exeName,
                            const std::set<DWORD>& known, Milliseconds timeout,
                            std::string& failure) {
  DWORD found = 0;
  const auto appeared =
      Eventually("a new process named " + Utf8(exeName), timeout, [&] {
        for (const DWORD id : ProcessIdsNamed(exeName)) {
          if (!known.contains(id)) {
            found = id;
            return true;
          }
        }
        return false;
      });
  if (!appeared) {
    failure = appeared.message();
    return {};
  }
  HANDLE process =
      OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                  FALSE, found);
  if (process == nullptr) {
    failure = "could not open the new process " + std::to_string(found) +
              " (error " + std::to_string(GetLastError()) + ")";
    return {};
  }
  return {process, found};
}

}  // namespace qiro::e2e
