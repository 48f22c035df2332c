#include "tests/bench/AllocationCounter.h"

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <new>

namespace qiro::bench {
namespace {

std::atomic<std::size_t> liveBytes{0};
std::atomic<std::size_t> liveBlocks{0};
std::atomic<std::size_t> allocations{0};

// Each block carries its size in front, so that delete can count it off
// whether or not the compiler passes the size.
constexpr std::size_t kHeader = alignof(std::max_align_t);

void* Allocate(std::size_t size) noexcept {
  // NOLINTNEXTLINE(cppcoreguidelines-no-malloc): operator new is built on it
  void* block = std::malloc(size + kHeader);
  if (block == nullptr) {
    return nullptr;
  }
  *static_cast<std::size_t*>(block) = size;
  liveBytes += size;
  ++liveBlocks;
  ++allocations;
  return static_cast<char*>(block) + kHeader;
}

void Free(void* pointer) noexcept {
  if (pointer == nullptr) {
    return;
  }
  void* block = static_cast<char*>(pointer) - kHeader;
  liveBytes -= *static_cast<std::size_t*>(block);
  --liveBlocks;
  std::free(block);  // NOLINT(cppcoreguidelines-no-malloc): as above
}

// Out of memory in a test run is not worth recovering from.
void* AllocateOrAbort(std::size_t size) {
  void* pointer = Allocate(size);
  if (pointer == nullptr) {
    std::abort();
  }
  return pointer;
}

}  // namespace

AllocationFigures CurrentAllocations() {
  return {liveBytes.load(), liveBlocks.load(), allocations.load()};
}

std::size_t ResidentKibibytes() {
  std::FILE* statm = std::fopen("/proc/self/statm", "r");
  if (statm == nullptr) {
    return 0;
  }
  unsigned long size = 0;
  unsigned long resident = 0;
  const int read = std::fscanf(statm, "%lu %lu", &size, &resident);
  std::fclose(statm);
  return read == 2 ? resident * 4 : 0;  // pages of 4 KiB
}

}  // namespace qiro::bench

// The replaceable global allocation functions, all routed to the counter.
void* operator new(std::size_t size) {
  return qiro::bench::AllocateOrAbort(size);
}
void* operator new[](std::size_t size) {
  return qiro::bench::AllocateOrAbort(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return qiro::bench::Allocate(size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
  return qiro::bench::Allocate(size);
}
void operator delete(void* pointer) noexcept { qiro::bench::Free(pointer); }
void operator delete[](void* pointer) noexcept { qiro::bench::Free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept {
  qiro::bench::Free(pointer);
}
void operator delete[](void* pointer, std::size_t) noexcept {
  qiro::bench::Free(pointer);
}
void operator delete(void* pointer, const std::nothrow_t&) noexcept {
  qiro::bench::Free(pointer);
}
void operator delete[](void* pointer, const std::nothrow_t&) noexcept {
  qiro::bench::Free(pointer);
}
