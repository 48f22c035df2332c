#pragma once

#include <cstddef>

#include "platform/ProcessServices.h"
#include "platform/Text.h"

namespace qiro::bench {

// What one memory-timer tick costs against the bare snapshot walk that it is
// built on, measured side by side in one run.
struct TickCostFigures {
  std::size_t snapshotEntries = 0;
  int rounds = 0;
  int operationsPerBatch = 0;
  double walkMicroseconds = 0;  // median of the rounds, per walk
  double tickMicroseconds = 0;  // median of the rounds, per tick
  double ratio = 0;             // median of the rounds' tick/walk ratios
  double bestRatio = 0;
  double worstRatio = 0;
  // The fastest round of each: on a busy machine the least disturbed figure.
  double fastestWalkMicroseconds = 0;
  double fastestTickMicroseconds = 0;
};

// The tick is the work of the memory timer's handler: FindProcessId of
// targetName with the case folded, then TrimProcessWorkingSet of the result.
// The walk takes a snapshot, reads it with first/next to its end and closes
// it. Batches of each alternate, so that both see the same machine state.
TickCostFigures MeasureTickCost(ProcessServices& processes, TextView targetName,
                                int rounds = 61);

void PrintTickCost(const char* label, const TickCostFigures& figures);

// The cost the trimming may add to the bare walk.
inline constexpr double kTargetRatio = 1.10;

}  // namespace qiro::bench
