#pragma once

#include <cstdint>
#include <vector>

#include "platform/ProcessServices.h"
#include "platform/Text.h"

namespace qiro {

// One running process as one snapshot entry gives it.
struct ProcessInfo {
  qiro::ProcessId ProcessId = 0;
  Text ExeName;  // at most 259 bytes, ANSI code page; empty when unnamed
  std::uint32_t ModuleId = 0;
  qiro::ProcessId ParentProcessId = 0;
  std::int32_t BasePriority = 0;
  std::uint32_t ThreadCount = 0;
};

// Every running process, in snapshot order; empty when no snapshot can be
// taken. Never fails.
std::vector<ProcessInfo> ListSystemProcesses(ProcessServices& processes);

}  // namespace qiro
