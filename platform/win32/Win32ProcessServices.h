#pragma once

#include "platform/ProcessServices.h"

namespace qiro {

// The process services of kernel32. Snapshots are walked with the ANSI
// record, so process names come in the system's ANSI code page.
class Win32ProcessServices final : public ProcessServices {
 public:
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
  void CloseHandle(HandleValue handle) override;
};

}  // namespace qiro
