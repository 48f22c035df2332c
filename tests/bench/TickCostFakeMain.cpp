// The memory-timer tick against the bare snapshot walk on the fake process
// table, with the target last in the snapshot, so that both walk it whole.
#include <array>
#include <cstdio>
#include <string>
#include <string_view>

#include "tests/bench/TickCost.h"
#include "tests/fakes/FakeProcessTable.h"

namespace {

// The names of a Windows desktop's processes, repeated as a busy system
// repeats them; a few begin as the target's name does or are as long.
constexpr std::array<std::string_view, 32> kNames{
    "svchost.exe",
    "svchost.exe",
    "svchost.exe",
    "RuntimeBroker.exe",
    "chrome.exe",
    "chrome.exe",
    "chrome.exe",
    "conhost.exe",
    "dllhost.exe",
    "explorer.exe",
    "csrss.exe",
    "lsass.exe",
    "winlogon.exe",
    "dwm.exe",
    "fontdrvhost.exe",
    "services.exe",
    "wininit.exe",
    "spoolsv.exe",
    "audiodg.exe",
    "MsMpEng.exe",
    "SearchHost.exe",
    "ctfmon.exe",
    "sihost.exe",
    "taskhostw.exe",
    "TextInputHost.exe",
    "Teams.exe",
    "StartMenuExperienceHost.exe",
    "ShellExperienceHost.exe",
    "SecurityHealthService.exe",
    "smss.exe",
    "WmiPrvSE.exe",
    "TargetGame.dll",
};

void MeasureWithEntries(int entries) {
  qiro::testing::FakeProcessTable processes;
  for (int i = 1; i < entries; ++i) {
    processes.Add(static_cast<qiro::ProcessId>(i * 4),
                  kNames[static_cast<std::size_t>(i) % kNames.size()]);
  }
  const std::string target = "TargetGame.exe";
  processes.Add(static_cast<qiro::ProcessId>(entries * 4), target);

  const std::string label =
      "fake process table, " + std::to_string(entries) + " processes";
  qiro::bench::PrintTickCost(label.c_str(),
                             qiro::bench::MeasureTickCost(processes, target));
  std::printf("  target trimmed %d times, open handles at the end %d\n",
              processes.TrimCount(static_cast<qiro::ProcessId>(entries * 4)),
              processes.OpenHandleCount());
}

}  // namespace

int main() {
  MeasureWithEntries(1024);
  MeasureWithEntries(4096);
  return 0;
}
