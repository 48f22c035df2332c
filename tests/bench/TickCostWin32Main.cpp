// The memory-timer tick against the bare snapshot walk on the system's own
// process services. The target is this program, found by its own name.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/Win32ProcessServices.h"
#include "tests/bench/TickCost.h"

namespace {

std::string OwnExeName() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  const std::string whole(path, length);
  const std::size_t slash = whole.find_last_of("\\/");
  return slash == std::string::npos ? whole : whole.substr(slash + 1);
}

}  // namespace

int main() {
  qiro::Win32ProcessServices processes;
  const std::string target = OwnExeName();
  std::printf("target: %s (process %lu)\n", target.c_str(),
              static_cast<unsigned long>(GetCurrentProcessId()));
  qiro::bench::PrintTickCost("Win32 process services",
                             qiro::bench::MeasureTickCost(processes, target));
  return 0;
}
