#include "platform/win32/Win32ProcessServices.h"

// tlhelp32.h needs the declarations of windows.h before it.
// clang-format off
#include <windows.h>
#include <tlhelp32.h>
// clang-format on

#include <algorithm>
#include <iterator>
#include <tuple>

#ifdef UNICODE
#error "Build without UNICODE: snapshots are read with the ANSI record."
#endif

namespace qiro {
namespace {

// The ANSI record, as the system lays it out on each architecture.
static_assert(sizeof(PROCESSENTRY32) == (sizeof(void*) == 4 ? 296 : 304));
static_assert(sizeof(PROCESSENTRY32::szExeFile) ==
              std::tuple_size_v<decltype(ProcessEntry::exeFile)>);

HANDLE ToHandle(HandleValue value) { return reinterpret_cast<HANDLE>(value); }
HandleValue ToValue(HANDLE handle) {
  return reinterpret_cast<HandleValue>(handle);
}

void CopyEntry(const PROCESSENTRY32& record, ProcessEntry& entry) {
  entry.threadCount = record.cntThreads;
  entry.processId = record.th32ProcessID;
  entry.moduleId = record.th32ModuleID;
  entry.parentProcessId = record.th32ParentProcessID;
  entry.basePriority = record.pcPriClassBase;
  // The system ends the name with a zero byte; should it not, the name is
  // cut before the last byte rather than read past the record.
  const char* name = std::begin(record.szExeFile);
  const char* nameEnd = std::find(name, std::end(record.szExeFile) - 1, '\0');
  entry.exeFile.fill('\0');
  std::copy(name, nameEnd, entry.exeFile.begin());
}

using SnapshotStep = BOOL(WINAPI*)(HANDLE, LPPROCESSENTRY32);

bool ReadEntry(SnapshotStep step, HandleValue snapshot, ProcessEntry& entry) {
  PROCESSENTRY32 record{};
  record.dwSize = sizeof(record);
  if (step(ToHandle(snapshot), &record) == FALSE) {
    return false;
  }
  CopyEntry(record, entry);
  return true;
}

}  // namespace

OwnedHandle Win32ProcessServices::CreateSnapshot(std::uint32_t flags,
                                                 ProcessId processId) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(flags, processId);
  if (snapshot == INVALID_HANDLE_VALUE) {
    return {};
  }
  return {*this, ToValue(snapshot)};
}

bool Win32ProcessServices::FirstProcess(HandleValue snapshot,
                                        ProcessEntry& entry) {
  return ReadEntry(&Process32First, snapshot, entry);
}

bool Win32ProcessServices::NextProcess(HandleValue snapshot,
                                       ProcessEntry& entry) {
  return ReadEntry(&Process32Next, snapshot, entry);
}

OwnedHandle Win32ProcessServices::OpenProcess(std::uint32_t access,
                                              bool inheritHandle,
                                              ProcessId processId) {
  return {*this, ToValue(::OpenProcess(access, inheritHandle ? TRUE : FALSE,
                                       processId))};
}

bool Win32ProcessServices::SetProcessWorkingSetSize(HandleValue process,
                                                    std::size_t minimum,
                                                    std::size_t maximum) {
  return ::SetProcessWorkingSetSize(ToHandle(process), minimum, maximum) !=
         FALSE;
}

bool Win32ProcessServices::SetPriorityClass(HandleValue process,
                                            PriorityClass priorityClass) {
  return ::SetPriorityClass(ToHandle(process),
                            static_cast<DWORD>(priorityClass)) != FALSE;
}

HandleValue Win32ProcessServices::CurrentProcess() {
  return ToValue(GetCurrentProcess());
}

void Win32ProcessServices::CloseHandle(HandleValue handle) {
  ::CloseHandle(ToHandle(handle));
}

}  // namespace qiro
