// 100,000 ticks of both timers on the virtual clock, the switch going on and
// off, the target restarting now and then: afterwards no handle is open and
// the memory in use is what it was after the first rounds.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "app/MainWindowControls.h"
#include "optimise/tests/OptimisedWindow.h"
#include "tests/bench/AllocationCounter.h"
#include "tests/fakes/FakeProcessTable.h"

namespace qiro {
namespace {

using controls::kOwnTrimTimer;
using controls::kRamOption;
using controls::kTrimTimer;
using testing::FakeProcessTable;
using testing::OptimisedWindow;
using testing::ProcessCall;
using namespace std::chrono_literals;

constexpr int kTicks = 100000;
// One round: 20 s on (100 ticks of the memory timer), then 1 s off.
constexpr auto kOnTime = 20s;
constexpr auto kOffTime = 1s;
constexpr int kWarmUpRounds = 10;
// Bytes the program may keep beyond the warmed-up state: far below what
// one byte lost per hundred ticks would add up to.
constexpr std::size_t kAllowedGrowth = 512;

class Soak {
 public:
  Soak() {
    for (ProcessId id = 1; id <= 60; ++id) {
      processes_.Add(id * 4, "service" + std::to_string(id) + ".exe");
    }
    processes_.Add(target_, "game.exe");
  }

  void Start() {
    ASSERT_TRUE(window_.Build());
    ASSERT_TRUE(window_.Choose("game.exe"));
    ASSERT_TRUE(window_.SetOption(kRamOption, true));
  }

  void Round() {
    ASSERT_TRUE(window_.PressSwitch());
    ASSERT_TRUE(window_.IsOn());
    window_.Toolkit().AdvanceClock(kOnTime / 2);
    // The game restarts under a new ID halfway through; the ticks follow it.
    const ProcessId restarted = target_ + 1000;
    trims_ += processes_.TrimCount(target_);
    ASSERT_TRUE(processes_.Restart(target_, restarted));
    target_ = restarted;
    window_.Toolkit().AdvanceClock(kOnTime / 2);
    ASSERT_TRUE(window_.PressSwitch());
    ASSERT_FALSE(window_.IsOn());
    window_.Toolkit().AdvanceClock(kOffTime);
    ++rounds_;
  }

  [[nodiscard]] int TrimTicks() {
    return window_.Toolkit().TickCount(kTrimTimer);
  }
  [[nodiscard]] int OwnTicks() {
    return window_.Toolkit().TickCount(kOwnTrimTimer);
  }
  [[nodiscard]] int Trims() const {
    return trims_ + processes_.TrimCount(target_);
  }
  [[nodiscard]] int Rounds() const { return rounds_; }
  FakeProcessTable& Processes() { return processes_; }

 private:
  FakeProcessTable processes_;
  OptimisedWindow window_{processes_};
  ProcessId target_ = 100000;
  int trims_ = 0;
  int rounds_ = 0;
};

TEST(SoakTest, HundredThousandTicksLeaveNoHandleAndNoGrowth) {
  Soak soak;
  ASSERT_NO_FATAL_FAILURE(soak.Start());
  for (int i = 0; i < kWarmUpRounds; ++i) {
    ASSERT_NO_FATAL_FAILURE(soak.Round());
  }
  const bench::AllocationFigures warm = bench::CurrentAllocations();
  const std::size_t warmResident = bench::ResidentKibibytes();

  while (soak.TrimTicks() < kTicks || soak.OwnTicks() < kTicks) {
    ASSERT_NO_FATAL_FAILURE(soak.Round());
  }

  const bench::AllocationFigures end = bench::CurrentAllocations();
  const std::size_t endResident = bench::ResidentKibibytes();
  std::printf(
      "soak: %d rounds, %d memory-timer ticks, %d own ticks, %d trims of the "
      "target, %d own trims\n"
      "soak: %d snapshots, %d process opens, open handles at the end %d\n"
      "soak: in use after warm-up %zu bytes in %zu blocks, at the end %zu "
      "bytes in %zu blocks; %zu allocations in between\n"
      "soak: resident %zu KiB after warm-up, %zu KiB at the end\n",
      soak.Rounds(), soak.TrimTicks(), soak.OwnTicks(), soak.Trims(),
      soak.Processes().OwnTrimCount(),
      soak.Processes().CallCount(ProcessCall::CreateSnapshot),
      soak.Processes().CallCount(ProcessCall::OpenProcess),
      soak.Processes().OpenHandleCount(), warm.liveBytes, warm.liveBlocks,
      end.liveBytes, end.liveBlocks, end.allocations - warm.allocations,
      warmResident, endResident);

  EXPECT_EQ(soak.Processes().OpenHandleCount(), 0);
  EXPECT_THAT(soak.Processes().TakeFaults(), ::testing::IsEmpty());
  EXPECT_EQ(soak.Trims(), soak.TrimTicks());
  EXPECT_EQ(soak.Processes().OwnTrimCount(), soak.OwnTicks());
  EXPECT_LE(end.liveBytes, warm.liveBytes + kAllowedGrowth);
  EXPECT_LE(end.liveBlocks, warm.liveBlocks + 4);
}

}  // namespace
}  // namespace qiro
