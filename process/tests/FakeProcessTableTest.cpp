// The fake process table is what tells every other test whether the program
// pairs its handles and passes the right arguments, so its own checks are
// tested here.
#include <gmock/gmock.h>
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <memory>
#include <new>
#include <ostream>
#include <string>

#include "tests/fakes/FakeProcessTable.h"

namespace qiro {
namespace {

using ::testing::ElementsAre;
using testing::FakeProcessTable;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using testing::ProcessCall;
using ::testing::SizeIs;

class FakeProcessTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    processes.Add(10, "a.exe");
    processes.Add(20, "b.exe");
  }
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), IsEmpty());
  }

  std::vector<Text> Walk(HandleValue snapshot) {
    std::vector<Text> names;
    ProcessEntry entry;
    for (bool more = processes.FirstProcess(snapshot, entry); more;
         more = processes.NextProcess(snapshot, entry)) {
      names.emplace_back(entry.exeFile.data());
    }
    return names;
  }

  FakeProcessTable processes;
};

TEST_F(FakeProcessTableTest, ASnapshotKeepsTheTableOfItsMoment) {
  const OwnedHandle before = processes.CreateSnapshot(kSnapProcesses, 0);
  processes.Remove(10);
  processes.Add(30, "c.exe");
  const OwnedHandle after = processes.CreateSnapshot(kSnapProcesses, 0);

  EXPECT_THAT(Walk(before.Get()), ElementsAre("a.exe", "b.exe"));
  EXPECT_THAT(Walk(after.Get()), ElementsAre("b.exe", "c.exe"));
  EXPECT_EQ(processes.OpenHandleCount(), 2);
}

TEST_F(FakeProcessTableTest, NamesAreCutAsTheSystemCutsThem) {
  processes.Add(30, std::string(300, 'x'));
  const OwnedHandle snapshot = processes.CreateSnapshot(kSnapProcesses, 0);

  EXPECT_EQ(Walk(snapshot.Get()).back(), std::string(259, 'x'));
}

TEST_F(FakeProcessTableTest, ARestartedProcessComesLastUnderItsNewId) {
  processes.Add(30, "c.exe");
  ASSERT_TRUE(processes.Restart(10, 40));
  const OwnedHandle snapshot = processes.CreateSnapshot(kSnapProcesses, 0);

  EXPECT_THAT(Walk(snapshot.Get()), ElementsAre("b.exe", "c.exe", "a.exe"));
  EXPECT_FALSE(processes.IsRunning(10));
  EXPECT_TRUE(processes.IsRunning(40));
  EXPECT_FALSE(processes.Restart(10, 50));
}

TEST_F(FakeProcessTableTest, TheNthCallFailsOnce) {
  processes.FailCall(ProcessCall::OpenProcess, 2);

  EXPECT_TRUE(processes.OpenProcess(kProcessAllAccess, false, 10));
  EXPECT_FALSE(processes.OpenProcess(kProcessAllAccess, false, 10));
  EXPECT_TRUE(processes.OpenProcess(kProcessAllAccess, false, 10));
}

TEST_F(FakeProcessTableTest, EveryCallFailsUntilToldOtherwise) {
  processes.FailEveryCall(ProcessCall::CreateSnapshot);
  EXPECT_FALSE(processes.CreateSnapshot(kSnapProcesses, 0));
  EXPECT_FALSE(processes.CreateSnapshot(kSnapProcesses, 0));

  processes.FailEveryCall(ProcessCall::CreateSnapshot, false);
  EXPECT_TRUE(processes.CreateSnapshot(kSnapProcesses, 0));
  EXPECT_EQ(processes.CallCount(ProcessCall::CreateSnapshot), 3);
}

TEST_F(FakeProcessTableTest, AHandleOutlivesItsProcessButChangesNothing) {
  const OwnedHandle process =
      processes.OpenProcess(kProcessAllAccess, false, 10);
  processes.Remove(10);
  processes.Add(10, "reused.exe");

  EXPECT_FALSE(processes.SetProcessWorkingSetSize(
      process.Get(), kEmptyWorkingSet, kEmptyWorkingSet));
  EXPECT_EQ(processes.TrimCount(10), 0);
}

TEST_F(FakeProcessTableTest, TheIdZeroAndRefusedProcessesCannotBeOpened) {
  processes.Add(0, "[System Process]");
  processes.SetCannotOpen(20);

  EXPECT_FALSE(processes.OpenProcess(kProcessAllAccess, false, 0));
  EXPECT_FALSE(processes.OpenProcess(kProcessAllAccess, false, 20));
  EXPECT_FALSE(processes.OpenProcess(kProcessAllAccess, false, 99));
}

// Each misuse that the table must notice, done once.
struct MisuseCase {
  const char* what;
  void (*misuse)(FakeProcessTable&);
  const char* faultMentions;
};

void PrintTo(const MisuseCase& c, std::ostream* out) { *out << c.what; }

class MisuseTest : public FakeProcessTableTest,
                   public ::testing::WithParamInterface<MisuseCase> {};

TEST_P(MisuseTest, IsKeptAsAFault) {
  GetParam().misuse(processes);

  const std::vector<std::string> faults = processes.TakeFaults();
  ASSERT_THAT(faults, SizeIs(1));
  EXPECT_THAT(faults[0], HasSubstr(GetParam().faultMentions));
}

INSTANTIATE_TEST_SUITE_P(
    Misuses, MisuseTest,
    ::testing::Values(
        MisuseCase{"snapshot of modules",
                   [](FakeProcessTable& p) {
                     static_cast<void>(p.CreateSnapshot(0x8, 0));
                   },
                   "CreateToolhelp32Snapshot"},
        MisuseCase{"snapshot of one process",
                   [](FakeProcessTable& p) {
                     static_cast<void>(p.CreateSnapshot(kSnapProcesses, 10));
                   },
                   "CreateToolhelp32Snapshot"},
        MisuseCase{"open with less access",
                   [](FakeProcessTable& p) {
                     static_cast<void>(p.OpenProcess(0x0400, false, 10));
                   },
                   "OpenProcess"},
        MisuseCase{"inheritable open",
                   [](FakeProcessTable& p) {
                     static_cast<void>(
                         p.OpenProcess(kProcessAllAccess, true, 10));
                   },
                   "OpenProcess"},
        MisuseCase{"working-set bounds other than -1",
                   [](FakeProcessTable& p) {
                     static_cast<void>(p.SetProcessWorkingSetSize(
                         p.CurrentProcess(), 0, kEmptyWorkingSet));
                   },
                   "bounds"},
        MisuseCase{"walk of a closed snapshot",
                   [](FakeProcessTable& p) {
                     HandleValue closed = 0;
                     {
                       const OwnedHandle snapshot =
                           p.CreateSnapshot(kSnapProcesses, 0);
                       closed = snapshot.Get();
                     }
                     ProcessEntry entry;
                     static_cast<void>(p.FirstProcess(closed, entry));
                   },
                   "not an open snapshot"},
        MisuseCase{"walk of a process handle",
                   [](FakeProcessTable& p) {
                     const OwnedHandle process =
                         p.OpenProcess(kProcessAllAccess, false, 10);
                     ProcessEntry entry;
                     static_cast<void>(p.NextProcess(process.Get(), entry));
                   },
                   "not an open snapshot"},
        MisuseCase{"trim through a snapshot",
                   [](FakeProcessTable& p) {
                     const OwnedHandle snapshot =
                         p.CreateSnapshot(kSnapProcesses, 0);
                     static_cast<void>(p.SetProcessWorkingSetSize(
                         snapshot.Get(), kEmptyWorkingSet, kEmptyWorkingSet));
                   },
                   "not an open process handle"},
        MisuseCase{"priority of the own process",
                   [](FakeProcessTable& p) {
                     static_cast<void>(p.SetPriorityClass(p.CurrentProcess(),
                                                          PriorityClass::High));
                   },
                   "not an open process handle"},
        MisuseCase{"two changes through one open",
                   [](FakeProcessTable& p) {
                     const OwnedHandle process =
                         p.OpenProcess(kProcessAllAccess, false, 10);
                     static_cast<void>(p.SetPriorityClass(process.Get(),
                                                          PriorityClass::High));
                     static_cast<void>(p.SetProcessWorkingSetSize(
                         process.Get(), kEmptyWorkingSet, kEmptyWorkingSet));
                   },
                   "exactly one"},
        MisuseCase{"a handle closed twice",
                   [](FakeProcessTable& p) {
                     OwnedHandle snapshot = p.CreateSnapshot(kSnapProcesses, 0);
                     const OwnedHandle copy(p, snapshot.Get());
                     snapshot.Reset();
                   },
                   "closed twice"},
        MisuseCase{"the pseudo-handle closed",
                   [](FakeProcessTable& p) {
                     const OwnedHandle own(p, p.CurrentProcess());
                   },
                   "pseudo-handle"}));

TEST(FakeProcessTableLifetimeTest, AHandleLeftOpenFailsTheTest) {
  auto processes = std::make_unique<FakeProcessTable>();
  // Kept where its destructor never runs, since it would close the handle
  // through a table that is gone by then.
  alignas(OwnedHandle) std::array<std::byte, sizeof(OwnedHandle)> storage{};
  new (storage.data())
      OwnedHandle(processes->CreateSnapshot(kSnapProcesses, 0));

  EXPECT_NONFATAL_FAILURE(processes.reset(), "never closed");
}

TEST(FakeProcessTableLifetimeTest, AnUnreadFaultFailsTheTest) {
  auto processes = std::make_unique<FakeProcessTable>();
  static_cast<void>(processes->CreateSnapshot(0x8, 0));

  EXPECT_NONFATAL_FAILURE(processes.reset(), "CreateToolhelp32Snapshot");
}

}  // namespace
}  // namespace qiro
