#include "tests/bench/TickCost.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "optimise/WorkingSetTrimming.h"
#include "process/FindProcessId.h"

namespace qiro::bench {
namespace {

using Clock = std::chrono::steady_clock;

// Results go here so that the compiler cannot drop the work.
volatile std::size_t sink = 0;

std::size_t BareWalk(ProcessServices& processes) {
  const OwnedHandle snapshot = processes.CreateSnapshot(kSnapProcesses, 0);
  std::size_t entries = 0;
  ProcessEntry entry;
  for (bool more = processes.FirstProcess(snapshot.Get(), entry); more;
       more = processes.NextProcess(snapshot.Get(), entry)) {
    ++entries;
  }
  return entries;
}

void Tick(ProcessServices& processes, TextView targetName) {
  const ProcessId target = FindProcessId(processes, targetName, 0);
  sink = sink + target +
         static_cast<std::size_t>(TrimProcessWorkingSet(processes, target));
}

template <typename Operation>
double MicrosecondsPerOperation(int count, Operation operation) {
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < count; ++i) {
    operation();
  }
  const std::chrono::duration<double, std::micro> elapsed =
      Clock::now() - start;
  return elapsed.count() / count;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Enough operations for a batch of about 50 ms, so that the clock's
// resolution does not matter.
int BatchSize(ProcessServices& processes) {
  constexpr double kBatchMicroseconds = 50000;
  const double once = MicrosecondsPerOperation(
      8, [&processes] { sink = sink + BareWalk(processes); });
  return std::clamp(static_cast<int>(kBatchMicroseconds / std::max(once, 0.01)),
                    1, 1000000);
}

}  // namespace

TickCostFigures MeasureTickCost(ProcessServices& processes, TextView targetName,
                                int rounds) {
  TickCostFigures figures;
  figures.snapshotEntries = BareWalk(processes);
  figures.rounds = rounds;
  figures.operationsPerBatch = BatchSize(processes);
  const int count = figures.operationsPerBatch;
  const auto walk = [&processes] { sink = sink + BareWalk(processes); };
  const auto tick = [&processes, targetName] { Tick(processes, targetName); };

  std::vector<double> walks;
  std::vector<double> ticks;
  std::vector<double> ratios;
  for (int round = 0; round < rounds; ++round) {
    double walkTime = 0;
    double tickTime = 0;
    if (round % 2 == 0) {
      walkTime = MicrosecondsPerOperation(count, walk);
      tickTime = MicrosecondsPerOperation(count, tick);
    } else {
      tickTime = MicrosecondsPerOperation(count, tick);
      walkTime = MicrosecondsPerOperation(count, walk);
    }
    walks.push_back(walkTime);
    ticks.push_back(tickTime);
    ratios.push_back(tickTime / walkTime);
  }
  figures.walkMicroseconds = Median(walks);
  figures.tickMicroseconds = Median(ticks);
  figures.ratio = Median(ratios);
  figures.bestRatio = *std::min_element(ratios.begin(), ratios.end());
  figures.worstRatio = *std::max_element(ratios.begin(), ratios.end());
  figures.fastestWalkMicroseconds =
      *std::min_element(walks.begin(), walks.end());
  figures.fastestTickMicroseconds =
      *std::min_element(ticks.begin(), ticks.end());
  return figures;
}

void PrintTickCost(const char* label, const TickCostFigures& figures) {
  std::printf(
      "%s: %zu entries, %d rounds of %d\n"
      "  median: bare walk %.3f us, memory-timer tick %.3f us\n"
      "  fastest: bare walk %.3f us, memory-timer tick %.3f us (ratio %.3f)\n"
      "  tick/walk ratio %.3f (rounds %.3f to %.3f), target <= %.2f: %s\n",
      label, figures.snapshotEntries, figures.rounds,
      figures.operationsPerBatch, figures.walkMicroseconds,
      figures.tickMicroseconds, figures.fastestWalkMicroseconds,
      figures.fastestTickMicroseconds,
      figures.fastestTickMicroseconds / figures.fastestWalkMicroseconds,
      figures.ratio, figures.bestRatio, figures.worstRatio, kTargetRatio,
      figures.ratio <= kTargetRatio ? "met" : "NOT met");
  std::fflush(stdout);
}

}  // namespace qiro::bench
