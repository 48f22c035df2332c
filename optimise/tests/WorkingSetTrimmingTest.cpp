#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <ostream>

#include "app/MainWindowControls.h"
#include "optimise/WorkingSetTrimming.h"
#include "optimise/tests/OptimisedWindow.h"
#include "tests/fakes/FakeProcessTable.h"

namespace qiro {
namespace {

using controls::kCpuOption;
using controls::kOwnTrimTimer;
using controls::kRamOption;
using testing::FakeProcessTable;
using testing::OptimisedWindow;
using testing::ProcessCall;
using namespace std::chrono_literals;

constexpr ProcessId kGame = 100;

class TrimmingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    processes.Add(4, "System");
    processes.Add(kGame, "game.exe");
    processes.Add(200, "other.exe");
    ASSERT_TRUE(window.Build());
  }
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), ::testing::IsEmpty());
  }

  // Chooses the name, ticks ram and switches on.
  void SwitchOnTrimming(TextView name, int nth = 0) {
    ASSERT_TRUE(window.Choose(name, nth));
    ASSERT_TRUE(window.SetOption(kRamOption, true));
    ASSERT_TRUE(window.PressSwitch());
    ASSERT_TRUE(window.IsOn());
  }

  FakeProcessTable processes;
  OptimisedWindow window{processes};
  testing::FakeWindowToolkit& toolkit = window.Toolkit();
};

TEST_F(TrimmingTest, WithTheSwitchOffOnlyTheOwnWorkingSetIsEmptied) {
  toolkit.AdvanceClock(1000ms);

  EXPECT_EQ(processes.OwnTrimCount(), 5);
  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), 0);
  EXPECT_EQ(processes.CallCount(ProcessCall::CreateSnapshot), 0);
}

TEST_F(TrimmingTest, TheFirstTrimComesOnePeriodAfterSwitchOn) {
  toolkit.AdvanceClock(50ms);
  SwitchOnTrimming("game.exe");

  toolkit.AdvanceClock(199ms);
  EXPECT_EQ(processes.TrimCount(kGame), 0);
  toolkit.AdvanceClock(1ms);
  EXPECT_EQ(processes.TrimCount(kGame), 1);
  toolkit.AdvanceClock(1000ms);
  EXPECT_EQ(processes.TrimCount(kGame), 6);
  EXPECT_EQ(processes.TrimCount(200), 0);
}

TEST_F(TrimmingTest, SwitchingOffStopsTheTrimming) {
  SwitchOnTrimming("game.exe");
  toolkit.AdvanceClock(400ms);
  ASSERT_TRUE(window.PressSwitch());

  toolkit.AdvanceClock(2000ms);

  EXPECT_EQ(processes.TrimCount(kGame), 2);
}

TEST_F(TrimmingTest, WithOnlyCpuTickedTheTargetIsNeverTrimmed) {
  ASSERT_TRUE(window.Choose("game.exe"));
  ASSERT_TRUE(window.SetOption(kCpuOption, true));
  ASSERT_TRUE(window.PressSwitch());

  toolkit.AdvanceClock(2000ms);

  EXPECT_EQ(processes.TrimCount(kGame), 0);
}

TEST_F(TrimmingTest, ARestartedTargetIsTrimmedFromTheNextTick) {
  SwitchOnTrimming("game.exe");
  toolkit.AdvanceClock(200ms);
  ASSERT_EQ(processes.TrimCount(kGame), 1);

  const int opensWhileRunning = processes.CallCount(ProcessCall::OpenProcess);
  processes.Remove(kGame);
  toolkit.AdvanceClock(400ms);
  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), opensWhileRunning);

  processes.Add(300, "game.exe");
  toolkit.AdvanceClock(200ms);
  EXPECT_EQ(processes.TrimCount(300), 1);
}

TEST_F(TrimmingTest, OnlyTheFirstOfTwoSameNamedProcessesIsTrimmed) {
  processes.Add(300, "Game.exe");
  // The user picks the second item; the lookup still finds the first.
  SwitchOnTrimming("Game.exe");

  toolkit.AdvanceClock(1000ms);

  EXPECT_EQ(processes.TrimCount(kGame), 5);
  EXPECT_EQ(processes.TrimCount(300), 0);
}

TEST_F(TrimmingTest, TheOwnWorkingSetIsEmptiedEveryPeriodThroughout) {
  toolkit.AdvanceClock(300ms);
  SwitchOnTrimming("game.exe");
  toolkit.AdvanceClock(700ms);
  ASSERT_TRUE(window.PressSwitch());
  toolkit.AdvanceClock(1000ms);

  EXPECT_EQ(toolkit.TickCount(kOwnTrimTimer), 10);
  EXPECT_EQ(processes.OwnTrimCount(), 10);
  EXPECT_EQ(processes.CallCount(ProcessCall::CurrentProcess), 10);
}

TEST_F(TrimmingTest, ATargetThatCannotBeOpenedIsTriedAgainEachTick) {
  SwitchOnTrimming("game.exe");
  processes.SetCannotOpen(kGame);
  toolkit.AdvanceClock(400ms);
  EXPECT_EQ(processes.TrimCount(kGame), 0);
  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), 3);  // + cpu

  processes.SetCannotOpen(kGame, false);
  toolkit.AdvanceClock(200ms);
  EXPECT_EQ(processes.TrimCount(kGame), 1);
}

struct TickFailureCase {
  const char* what;
  ProcessCall call;
};

void PrintTo(const TickFailureCase& c, std::ostream* out) { *out << c.what; }

class TickFailureTest : public TrimmingTest,
                        public ::testing::WithParamInterface<TickFailureCase> {
};

TEST_P(TickFailureTest, OneFailedTickIsMadeGoodByTheNext) {
  SwitchOnTrimming("game.exe");
  processes.FailCall(GetParam().call);

  toolkit.AdvanceClock(200ms);
  EXPECT_EQ(processes.TrimCount(kGame), 0);
  toolkit.AdvanceClock(200ms);
  EXPECT_EQ(processes.TrimCount(kGame), 1);
}

INSTANTIATE_TEST_SUITE_P(
    Failures, TickFailureTest,
    ::testing::Values(
        TickFailureCase{"no snapshot", ProcessCall::CreateSnapshot},
        TickFailureCase{"unreadable first entry", ProcessCall::FirstProcess},
        TickFailureCase{"refused open", ProcessCall::OpenProcess},
        TickFailureCase{"failed trim", ProcessCall::SetProcessWorkingSetSize}));

class TrimFunctionsTest : public ::testing::Test {
 protected:
  void SetUp() override { processes.Add(kGame, "game.exe"); }
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), ::testing::IsEmpty());
  }

  FakeProcessTable processes;
};

TEST_F(TrimFunctionsTest, TrimProcessWorkingSetSaysWhetherItTrimmed) {
  EXPECT_EQ(TrimProcessWorkingSet(processes, kGame), 1);
  EXPECT_EQ(TrimProcessWorkingSet(processes, 999), 0);
  processes.FailCall(ProcessCall::SetProcessWorkingSetSize);
  EXPECT_EQ(TrimProcessWorkingSet(processes, kGame), 0);
  processes.SetCannotOpen(kGame);
  EXPECT_EQ(TrimProcessWorkingSet(processes, kGame), 0);

  EXPECT_EQ(processes.TrimCount(kGame), 1);
}

TEST_F(TrimFunctionsTest, TheIdZeroOpensNothing) {
  EXPECT_EQ(TrimProcessWorkingSet(processes, kNoProcess), 0);
  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), 0);
}

TEST_F(TrimFunctionsTest, TrimOwnWorkingSetUsesThePseudoHandle) {
  EXPECT_EQ(TrimOwnWorkingSet(processes), 1);
  processes.FailCall(ProcessCall::SetProcessWorkingSetSize);
  EXPECT_EQ(TrimOwnWorkingSet(processes), 0);

  EXPECT_EQ(processes.OwnTrimCount(), 1);
  EXPECT_EQ(processes.CallCount(ProcessCall::OpenProcess), 0);
}

}  // namespace
}  // namespace qiro
