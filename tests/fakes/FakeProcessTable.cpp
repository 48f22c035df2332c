#include "tests/fakes/FakeProcessTable.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>
#include <utility>

namespace qiro::testing {
namespace {

constexpr HandleValue kHandleStep = 4;  // as Windows numbers its handles

std::string Hex(std::uint64_t value) {
  std::ostringstream text;
  text << "0x" << std::hex << value;
  return text.str();
}

std::size_t Index(ProcessCall call) { return static_cast<std::size_t>(call); }

ProcessEntry EntryOf(const FakeProcess& process) {
  ProcessEntry entry;
  entry.threadCount = process.threadCount;
  entry.processId = process.id;
  entry.moduleId = process.moduleId;
  entry.parentProcessId = process.parentId;
  entry.basePriority = process.basePriority;
  // The system cuts a long name to what the field holds with its zero.
  const std::size_t length =
      std::min(process.name.size(), entry.exeFile.size() - 1);
  std::memcpy(entry.exeFile.data(), process.name.data(), length);
  entry.exeFile[length] = '\0';
  return entry;
}

// Writes one entry into the caller's record as the system does: the counts
// and IDs, then the name with its terminator. The bytes after the terminator
// keep whatever the record held before, often a longer earlier name.
void CopyEntry(const ProcessEntry& from, ProcessEntry& to) {
  to.threadCount = from.threadCount;
  to.processId = from.processId;
  to.moduleId = from.moduleId;
  to.parentProcessId = from.parentProcessId;
  to.basePriority = from.basePriority;
  const void* terminator =
      std::memchr(from.exeFile.data(), 0, from.exeFile.size());
  const std::size_t length =
      terminator != nullptr
          ? static_cast<std::size_t>(static_cast<const char*>(terminator) -
                                     from.exeFile.data()) +
                1
          : from.exeFile.size();
  std::memcpy(to.exeFile.data(), from.exeFile.data(), length);
}

}  // namespace

FakeProcessTable::FakeProcessTable() : entries_(std::make_shared<Entries>()) {}

FakeProcessTable::~FakeProcessTable() {
  if (!openHandles_.empty()) {
    ADD_FAILURE() << openHandles_.size()
                  << " process or snapshot handle(s) were never closed";
  }
  for (const std::string& fault : faults_) {
    ADD_FAILURE() << "process services misused: " << fault;
  }
}

void FakeProcessTable::Add(const FakeProcess& process) {
  AddEntryWithState(EntryOf(process), process.priorityClass);
}

void FakeProcessTable::Add(ProcessId id, TextView name) {
  Add(FakeProcess{.id = id, .name = std::string(name)});
}

void FakeProcessTable::AddRawEntry(const ProcessEntry& entry,
                                   std::uint32_t priorityClass) {
  AddEntryWithState(entry, priorityClass);
}

void FakeProcessTable::AddEntryWithState(const ProcessEntry& entry,
                                         std::uint32_t priorityClass) {
  if (entry.processId != kNoProcess) {
    if (states_.contains(entry.processId)) {
      ADD_FAILURE() << "a process with the ID " << entry.processId
                    << " is already running";
      return;
    }
    states_.emplace(
        entry.processId,
        ProcessState{.serial = nextSerial_++, .priorityClass = priorityClass});
  }
  EntriesForChange().push_back(entry);
}

bool FakeProcessTable::Remove(ProcessId id) {
  if (id == kNoProcess || states_.erase(id) == 0) {
    return false;
  }
  Entries& entries = EntriesForChange();
  std::erase_if(entries, [id](const ProcessEntry& entry) {
    return entry.processId == id;
  });
  return true;
}

bool FakeProcessTable::Restart(ProcessId id, ProcessId newId) {
  const auto found = std::find_if(
      entries_->begin(), entries_->end(), [id](const ProcessEntry& entry) {
        return entry.processId == id && id != kNoProcess;
      });
  if (found == entries_->end()) {
    return false;
  }
  ProcessEntry restarted = *found;
  restarted.processId = newId;
  Remove(id);
  AddEntryWithState(restarted, kNormalPriorityClass);
  return true;
}

void FakeProcessTable::SetCannotOpen(ProcessId id, bool cannotOpen) {
  if (ProcessState* state = RunningState(id)) {
    state->cannotOpen = cannotOpen;
  } else {
    ADD_FAILURE() << "no running process with the ID " << id;
  }
}

void FakeProcessTable::FailCall(ProcessCall call, int nth) {
  CallState& state = calls_[Index(call)];
  state.failAt.push_back(state.calls + std::max(nth, 1));
}

void FakeProcessTable::FailEveryCall(ProcessCall call, bool fail) {
  calls_[Index(call)].failEvery = fail;
}

bool FakeProcessTable::IsRunning(ProcessId id) const {
  return RunningState(id) != nullptr;
}

std::uint32_t FakeProcessTable::PriorityClassOf(ProcessId id) const {
  const ProcessState* state = RunningState(id);
  return state != nullptr ? state->priorityClass : 0;
}

int FakeProcessTable::TrimCount(ProcessId id) const {
  const ProcessState* state = RunningState(id);
  return state != nullptr ? state->trims : 0;
}

int FakeProcessTable::CallCount(ProcessCall call) const {
  return calls_[Index(call)].calls;
}

std::vector<std::string> FakeProcessTable::TakeFaults() {
  return std::exchange(faults_, {});
}

OwnedHandle FakeProcessTable::CreateSnapshot(std::uint32_t flags,
                                             ProcessId processId) {
  if (CountCallAndCheckFailure(ProcessCall::CreateSnapshot)) {
    return {};
  }
  if (flags != kSnapProcesses || processId != kNoProcess) {
    RecordFault("CreateToolhelp32Snapshot(" + Hex(flags) + ", " +
                std::to_string(processId) +
                "): expected the process flag 0x2 and the ID 0");
  }
  const HandleValue value =
      NewHandle(OpenHandle{.kind = HandleKind::Snapshot, .entries = entries_});
  return {*this, value};
}

bool FakeProcessTable::FirstProcess(HandleValue snapshot, ProcessEntry& entry) {
  if (CountCallAndCheckFailure(ProcessCall::FirstProcess)) {
    return false;
  }
  return WalkTo(snapshot, 0, entry, "Process32First");
}

bool FakeProcessTable::NextProcess(HandleValue snapshot, ProcessEntry& entry) {
  if (CountCallAndCheckFailure(ProcessCall::NextProcess)) {
    return false;
  }
  const OpenHandle* handle = FindHandle(snapshot);
  const std::size_t index = handle != nullptr ? handle->next : 0;
  return WalkTo(snapshot, index, entry, "Process32Next");
}

bool FakeProcessTable::WalkTo(HandleValue snapshot, std::size_t index,
                              ProcessEntry& entry, const char* operation) {
  OpenHandle* handle = FindHandle(snapshot);
  if (handle == nullptr || handle->kind != HandleKind::Snapshot) {
    RecordFault(std::string(operation) + " on " + Hex(snapshot) +
                ", which is not an open snapshot");
    return false;
  }
  if (index >= handle->entries->size()) {
    handle->next = handle->entries->size();
    return false;
  }
  CopyEntry((*handle->entries)[index], entry);
  handle->next = index + 1;
  return true;
}

OwnedHandle FakeProcessTable::OpenProcess(std::uint32_t access,
                                          bool inheritHandle,
                                          ProcessId processId) {
  if (CountCallAndCheckFailure(ProcessCall::OpenProcess)) {
    return {};
  }
  if (access != kProcessAllAccess || inheritHandle) {
    RecordFault("OpenProcess(" + Hex(access) + ", " +
                (inheritHandle ? "TRUE" : "FALSE") +
                "): expected the access 0x1f0fff, not inheritable");
  }
  const ProcessState* state = RunningState(processId);
  if (state == nullptr || state->cannotOpen) {
    return {};
  }
  const HandleValue value = NewHandle(OpenHandle{.kind = HandleKind::Process,
                                                 .entries = nullptr,
                                                 .next = 0,
                                                 .processId = processId,
                                                 .serial = state->serial});
  return {*this, value};
}

bool FakeProcessTable::SetProcessWorkingSetSize(HandleValue process,
                                                std::size_t minimum,
                                                std::size_t maximum) {
  if (CountCallAndCheckFailure(ProcessCall::SetProcessWorkingSetSize)) {
    return false;
  }
  if (minimum != kEmptyWorkingSet || maximum != kEmptyWorkingSet) {
    RecordFault("SetProcessWorkingSetSize bounds " + Hex(minimum) + ", " +
                Hex(maximum) + ": expected both to be -1");
    return false;
  }
  if (process == kCurrentProcessHandle) {
    ++ownTrims_;
    return true;
  }
  OpenHandle* handle = FindHandle(process);
  if (handle == nullptr || handle->kind != HandleKind::Process) {
    RecordFault("SetProcessWorkingSetSize on " + Hex(process) +
                ", which is not an open process handle");
    return false;
  }
  ProcessState* state = ProcessOf(*handle);
  if (state == nullptr) {
    return false;  // the process has ended meanwhile
  }
  ++state->trims;
  return true;
}

bool FakeProcessTable::SetPriorityClass(HandleValue process,
                                        PriorityClass priorityClass) {
  if (CountCallAndCheckFailure(ProcessCall::SetPriorityClass)) {
    return false;
  }
  if (priorityClass != PriorityClass::Normal &&
      priorityClass != PriorityClass::High) {
    RecordFault("SetPriorityClass with the class " +
                Hex(static_cast<std::uint32_t>(priorityClass)));
    return false;
  }
  OpenHandle* handle = FindHandle(process);
  if (handle == nullptr || handle->kind != HandleKind::Process) {
    RecordFault("SetPriorityClass on " + Hex(process) +
                ", which is not an open process handle");
    return false;
  }
  ProcessState* state = ProcessOf(*handle);
  if (state == nullptr) {
    return false;
  }
  state->priorityClass = static_cast<std::uint32_t>(priorityClass);
  return true;
}

HandleValue FakeProcessTable::CurrentProcess() {
  CountCallAndCheckFailure(ProcessCall::CurrentProcess);
  return kCurrentProcessHandle;
}

void FakeProcessTable::CloseHandle(HandleValue handle) {
  CountCallAndCheckFailure(ProcessCall::CloseHandle);
  const auto found = std::find_if(
      openHandles_.begin(), openHandles_.end(),
      [handle](const OpenHandle& open) { return open.value == handle; });
  if (found == openHandles_.end()) {
    RecordFault("CloseHandle(" + Hex(handle) + "): " +
                (handle == kCurrentProcessHandle
                     ? "the current-process pseudo-handle is never closed"
                     : "not an open handle (closed twice, or never opened)"));
    return;
  }
  openHandles_.erase(found);
}

bool FakeProcessTable::CountCallAndCheckFailure(ProcessCall call) {
  CallState& state = calls_[Index(call)];
  ++state.calls;
  if (state.failEvery) {
    return true;
  }
  const auto pending =
      std::find(state.failAt.begin(), state.failAt.end(), state.calls);
  if (pending == state.failAt.end()) {
    return false;
  }
  state.failAt.erase(pending);
  return true;
}

FakeProcessTable::OpenHandle* FakeProcessTable::FindHandle(HandleValue value) {
  for (OpenHandle& handle : openHandles_) {
    if (handle.value == value) {
      return &handle;
    }
  }
  return nullptr;
}

FakeProcessTable::ProcessState* FakeProcessTable::ProcessOf(
    OpenHandle& handle) {
  if (handle.used) {
    RecordFault("a second change through process handle " + Hex(handle.value) +
                ": each open serves exactly one");
  }
  handle.used = true;
  ProcessState* state = RunningState(handle.processId);
  return state != nullptr && state->serial == handle.serial ? state : nullptr;
}

FakeProcessTable::ProcessState* FakeProcessTable::RunningState(ProcessId id) {
  if (id == kNoProcess) {
    return nullptr;
  }
  const auto found = states_.find(id);
  return found != states_.end() ? &found->second : nullptr;
}

const FakeProcessTable::ProcessState* FakeProcessTable::RunningState(
    ProcessId id) const {
  if (id == kNoProcess) {
    return nullptr;
  }
  const auto found = states_.find(id);
  return found != states_.end() ? &found->second : nullptr;
}

FakeProcessTable::Entries& FakeProcessTable::EntriesForChange() {
  // A snapshot keeps the table as it was when it was taken.
  if (entries_.use_count() > 1) {
    entries_ = std::make_shared<Entries>(*entries_);
  }
  return *entries_;
}

HandleValue FakeProcessTable::NewHandle(OpenHandle handle) {
  handle.value = nextHandle_;
  nextHandle_ += kHandleStep;
  openHandles_.push_back(std::move(handle));
  return openHandles_.back().value;
}

void FakeProcessTable::RecordFault(std::string fault) {
  faults_.push_back(std::move(fault));
}

}  // namespace qiro::testing
