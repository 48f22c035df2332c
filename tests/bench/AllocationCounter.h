#pragma once

#include <cstddef>

namespace qiro::bench {

// What the program has allocated through operator new and not yet freed,
// and how many allocations it made in all. Counted by replacing the global
// operator new and delete in the executable that links this file.
struct AllocationFigures {
  std::size_t liveBytes = 0;
  std::size_t liveBlocks = 0;
  std::size_t allocations = 0;
};

AllocationFigures CurrentAllocations();

// The resident set size of this process in KiB, from /proc; 0 if unknown.
std::size_t ResidentKibibytes();

}  // namespace qiro::bench
