#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace qiro {

using ProcessId = std::uint32_t;  // 0 stands for no process
inline constexpr ProcessId kNoProcess = 0;

// An operating-system handle as an opaque value; 0 is no handle.
using HandleValue = std::uintptr_t;

// Snapshot flag for all running processes (TH32CS_SNAPPROCESS).
inline constexpr std::uint32_t kSnapProcesses = 0x2;
// Access mask for opening another process: the older PROCESS_ALL_ACCESS.
inline constexpr std::uint32_t kProcessAllAccess = 0x1F0FFF;
// A working-set bound with every bit set: with both bounds so, the system
// removes as many pages from the working set as it can.
inline constexpr std::size_t kEmptyWorkingSet = static_cast<std::size_t>(-1);

enum class PriorityClass : std::uint32_t {
  Normal = 0x20,  // NORMAL_PRIORITY_CLASS
  High = 0x80,    // HIGH_PRIORITY_CLASS
};

// One entry of a process snapshot, field for field the system's ANSI record.
// exeFile holds the executable's file name without a path, ended by a zero
// byte within its 260 bytes.
struct ProcessEntry {
  std::uint32_t threadCount = 0;
  ProcessId processId = 0;
  std::uint32_t moduleId = 0;
  ProcessId parentProcessId = 0;
  std::int32_t basePriority = 0;
  std::array<char, 260> exeFile{};
};

class ProcessServices;

// Owns one handle obtained from ProcessServices and closes it through the
// same services when it goes out of scope, on every path.
class OwnedHandle {
 public:
  OwnedHandle() = default;
  OwnedHandle(ProcessServices& services, HandleValue value) noexcept
      : services_(value != 0 ? &services : nullptr), value_(value) {}
  OwnedHandle(OwnedHandle&& other) noexcept
      : services_(other.services_), value_(other.value_) {
    other.Forget();
  }
  OwnedHandle& operator=(OwnedHandle&& other) noexcept;
  OwnedHandle(const OwnedHandle&) = delete;
  OwnedHandle& operator=(const OwnedHandle&) = delete;
  ~OwnedHandle() { Reset(); }

  [[nodiscard]] HandleValue Get() const noexcept { return value_; }
  explicit operator bool() const noexcept { return value_ != 0; }
  void Reset() noexcept;

 private:
  void Forget() noexcept {
    services_ = nullptr;
    value_ = 0;
  }

  ProcessServices* services_ = nullptr;
  HandleValue value_ = 0;
};

// The operating system's process operations that the program calls. Each
// mirrors one kernel32 function; the owning results make sure that every
// snapshot and every process handle is closed before its operation returns.
class ProcessServices {
 public:
  ProcessServices() = default;
  ProcessServices(const ProcessServices&) = delete;
  ProcessServices& operator=(const ProcessServices&) = delete;
  ProcessServices(ProcessServices&&) = delete;
  ProcessServices& operator=(ProcessServices&&) = delete;
  virtual ~ProcessServices() = default;

  // CreateToolhelp32Snapshot(flags, processId); an empty handle on failure.
  virtual OwnedHandle CreateSnapshot(std::uint32_t flags,
                                     ProcessId processId) = 0;
  // Process32First / Process32Next with the ANSI record: true while one
  // more process was written into entry, in the snapshot's order.
  virtual bool FirstProcess(HandleValue snapshot, ProcessEntry& entry) = 0;
  virtual bool NextProcess(HandleValue snapshot, ProcessEntry& entry) = 0;
  // OpenProcess(access, inherit, processId); an empty handle when no
  // process has that ID (0 included) or the access is refused.
  virtual OwnedHandle OpenProcess(std::uint32_t access, bool inheritHandle,
                                  ProcessId processId) = 0;
  // SetProcessWorkingSetSize(process, minimum, maximum); true on success.
  virtual bool SetProcessWorkingSetSize(HandleValue process,
                                        std::size_t minimum,
                                        std::size_t maximum) = 0;
  // SetPriorityClass(process, priorityClass); true on success.
  virtual bool SetPriorityClass(HandleValue process,
                                PriorityClass priorityClass) = 0;
  // The current-process pseudo-handle: never opened, never closed.
  virtual HandleValue CurrentProcess() = 0;

 private:
  friend class OwnedHandle;
  // CloseHandle: reached only through OwnedHandle.
  virtual void CloseHandle(HandleValue handle) = 0;
};

inline void OwnedHandle::Reset() noexcept {
  if (services_ != nullptr) {
    services_->CloseHandle(value_);
  }
  Forget();
}

inline OwnedHandle& OwnedHandle::operator=(OwnedHandle&& other) noexcept {
  if (this != &other) {
    Reset();
    services_ = other.services_;
    value_ = other.value_;
    other.Forget();
  }
  return *this;
}

}  // namespace qiro
