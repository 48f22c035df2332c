#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/ProcessServices.h"
#include "platform/Text.h"

namespace qiro::testing {

// The operations of ProcessServices, for counting calls and making them fail.
enum class ProcessCall : std::size_t {
  CreateSnapshot,
  FirstProcess,
  NextProcess,
  OpenProcess,
  SetProcessWorkingSetSize,
  SetPriorityClass,
  CloseHandle,
  CurrentProcess,
};
inline constexpr std::size_t kProcessCallCount = 8;

// Priority classes beside the two the program sets, for processes that start
// at another class.
inline constexpr std::uint32_t kIdlePriorityClass = 0x40;
inline constexpr std::uint32_t kBelowNormalPriorityClass = 0x4000;
inline constexpr std::uint32_t kAboveNormalPriorityClass = 0x8000;
inline constexpr std::uint32_t kNormalPriorityClass =
    static_cast<std::uint32_t>(PriorityClass::Normal);
inline constexpr std::uint32_t kHighPriorityClass =
    static_cast<std::uint32_t>(PriorityClass::High);

// A process as a test describes it. The name is raw bytes of any length; it
// goes into the entry's 260-byte field as the system would put it there:
// cut to 259 bytes and ended by a zero byte.
struct FakeProcess {
  ProcessId id = 0;
  std::string name;
  std::uint32_t moduleId = 0;
  ProcessId parentId = 0;
  std::int32_t basePriority = 8;
  std::uint32_t threadCount = 1;
  std::uint32_t priorityClass = kNormalPriorityClass;
};

// The running processes of a system in memory, in snapshot order, with the
// state that the program changes: each process's priority class and how
// often its working set was emptied. A walk writes each entry into the
// caller's record as the system does, the name up to its terminator, so the
// bytes after it keep what an earlier, longer name left there.
//
// It checks how the program calls it: the snapshot flags and ID, the access
// mask and inheritance of every open, both working-set bounds, that a handle
// is used only while it is open and for its own kind, and that a process
// handle serves exactly one change. Each misuse is kept as a fault. A table
// destroyed while handles are open or faults are unread fails the running
// test, so every test that uses one checks the handle pairing for free.
//
// Any operation but CloseHandle and CurrentProcess can be told to fail (the
// close has no result the program could see). A failing call does nothing and
// gives the empty handle or false.
class FakeProcessTable final : public ProcessServices {
 public:
  // The current-process pseudo-handle, as GetCurrentProcess gives it.
  static constexpr HandleValue kCurrentProcessHandle =
      static_cast<HandleValue>(-1);

  FakeProcessTable();
  ~FakeProcessTable() override;
  FakeProcessTable(const FakeProcessTable&) = delete;
  FakeProcessTable& operator=(const FakeProcessTable&) = delete;

  // The table. IDs of running processes are unique, except that several
  // entries may carry the ID 0, which no open ever reaches.
  void Add(const FakeProcess& process);
  void Add(ProcessId id, TextView name);
  // An entry whose name field the test fills byte for byte, terminator or
  // none.
  void AddRawEntry(const ProcessEntry& entry,
                   std::uint32_t priorityClass = kNormalPriorityClass);
  // The process ends; false if none has this ID.
  bool Remove(ProcessId id);
  // The process ends and starts again under newId, at the end of the
  // snapshot order, at the normal class and untrimmed; false if none has id.
  bool Restart(ProcessId id, ProcessId newId);
  // Opening the process is refused from now on, as for an elevated process.
  void SetCannotOpen(ProcessId id, bool cannotOpen = true);

  // Failure injection. FailCall makes the nth call of the operation from now
  // on fail (1: the very next); several may be pending. FailEveryCall makes
  // every call fail until it is switched off again.
  void FailCall(ProcessCall call, int nth = 1);
  void FailEveryCall(ProcessCall call, bool fail = true);

  // Inspection of the running process with this ID (0 and false-y values
  // when none runs).
  [[nodiscard]] bool IsRunning(ProcessId id) const;
  [[nodiscard]] std::uint32_t PriorityClassOf(ProcessId id) const;
  [[nodiscard]] int TrimCount(ProcessId id) const;
  [[nodiscard]] int OwnTrimCount() const { return ownTrims_; }
  [[nodiscard]] int CallCount(ProcessCall call) const;
  [[nodiscard]] std::size_t ProcessCount() const { return entries_->size(); }
  // Snapshots and process handles that are open now.
  [[nodiscard]] int OpenHandleCount() const {
    return static_cast<int>(openHandles_.size());
  }
  [[nodiscard]] const std::vector<std::string>& Faults() const {
    return faults_;
  }
  // The faults so far, which then count as read.
  std::vector<std::string> TakeFaults();

  // ProcessServices
  OwnedHandle CreateSnapshot(std::uint32_t flags, ProcessId processId) override;
  bool FirstProcess(HandleValue snapshot, ProcessEntry& entry) override;
  bool NextProcess(HandleValue snapshot, ProcessEntry& entry) override;
  OwnedHandle OpenProcess(std::uint32_t access, bool inheritHandle,
                          ProcessId processId) override;
  bool SetProcessWorkingSetSize(HandleValue process, std::size_t minimum,
                                std::size_t maximum) override;
  bool SetPriorityClass(HandleValue process,
                        PriorityClass priorityClass) override;
  HandleValue CurrentProcess() override;

 private:
  using Entries = std::vector<ProcessEntry>;

  // What the program can change about one running process. The serial tells
  // one run of a program from a later one under a reused ID.
  struct ProcessState {
    std::uint64_t serial = 0;
    std::uint32_t priorityClass = kNormalPriorityClass;
    int trims = 0;
    bool cannotOpen = false;
  };

  enum class HandleKind { Snapshot, Process };

  struct OpenHandle {
    HandleValue value = 0;
    HandleKind kind = HandleKind::Snapshot;
    // Snapshot: the table as it was when the snapshot was taken, shared with
    // the table until the table next changes, and the walk's position.
    std::shared_ptr<const Entries> entries;
    std::size_t next = 0;
    // Process: which run of which program it was opened for, and whether
    // its one change has been made.
    ProcessId processId = 0;
    std::uint64_t serial = 0;
    bool used = false;
  };

  struct CallState {
    int calls = 0;
    std::vector<int> failAt;  // call numbers that fail
    bool failEvery = false;
  };

  void CloseHandle(HandleValue handle) override;

  // Counts the call and says whether it is to fail.
  bool CountCallAndCheckFailure(ProcessCall call);
  bool WalkTo(HandleValue snapshot, std::size_t index, ProcessEntry& entry,
              const char* operation);
  OpenHandle* FindHandle(HandleValue value);
  // The process handle's state while that same run is still going.
  ProcessState* ProcessOf(OpenHandle& handle);
  ProcessState* RunningState(ProcessId id);
  const ProcessState* RunningState(ProcessId id) const;
  // The entries for changing; a snapshot that still shares them keeps its
  // own copy.
  Entries& EntriesForChange();
  void AddEntryWithState(const ProcessEntry& entry,
                         std::uint32_t priorityClass);
  HandleValue NewHandle(OpenHandle handle);
  void RecordFault(std::string fault);

  std::shared_ptr<Entries> entries_;
  std::unordered_map<ProcessId, ProcessState> states_;
  std::vector<OpenHandle> openHandles_;
  std::array<CallState, kProcessCallCount> calls_{};
  std::vector<std::string> faults_;
  HandleValue nextHandle_ = 0x100;
  std::uint64_t nextSerial_ = 1;
  int ownTrims_ = 0;
};

}  // namespace qiro::testing
