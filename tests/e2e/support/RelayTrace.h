#pragma once

#include <windows.h>

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qiro::e2e {

// Wine's relay trace of one program, restricted (by the prefix's
// RelayInclude) to the kernel32 process calls. Each call is a line such as
//   0024:Call KERNEL32.OpenProcess(001f0fff,00000000,000000e4) ret=...
//   0024:Ret  KERNEL32.OpenProcess() retval=00000030 ret=...
// which makes every trim, the access it opened a process with and the
// closing of every opened handle observable from outside.

enum class TraceEventKind {
  OwnTrim,      // SetProcessWorkingSetSize on the pseudo-handle ffffffff
  ProcessOpen,  // OpenProcess that returned a handle
  ProcessTrim,  // SetProcessWorkingSetSize on a handle from OpenProcess
  PriorityChange,
  ProcessClose,  // CloseHandle of a handle from OpenProcess
};

struct TraceEvent {
  std::size_t offset = 0;  // where its line starts in the log
  TraceEventKind kind = TraceEventKind::OwnTrim;
  DWORD processId = 0;  // the opened process; 0 for OwnTrim
};

struct TraceAnalysis {
  std::vector<TraceEvent> events;
  // Calls that break the rules: another access mask, an inheritable
  // handle, bounds other than -1, a call on a handle that was never opened,
  // a handle left open when the next process was opened.
  std::vector<std::string> violations;
  std::size_t handlesStillOpen = 0;

  [[nodiscard]] int Count(TraceEventKind kind, DWORD processId,
                          std::size_t begin, std::size_t end) const;
};

// Reads the log as it is now; the program may still be writing to it.
class RelayLog {
 public:
  explicit RelayLog(std::wstring path) : path_(std::move(path)) {}
  [[nodiscard]] const std::wstring& Path() const { return path_; }
  // The log's size now: a position in the trace that stands for a moment.
  [[nodiscard]] std::size_t Size() const;
  [[nodiscard]] std::string Contents() const;
  [[nodiscard]] TraceAnalysis Analyse() const;

 private:
  std::wstring path_;
};

TraceAnalysis AnalyseTrace(std::string_view log);

}  // namespace qiro::e2e
