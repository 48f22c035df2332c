#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "process/FindProcessId.h"
#include "tests/fakes/FakeProcessTable.h"

namespace qiro {
namespace {

using testing::FakeProcessTable;
using testing::ProcessCall;

// A fresh table per test; the table itself fails the test if a snapshot is
// left open or a call is made with the wrong arguments.
class FindProcessIdTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), ::testing::IsEmpty());
  }

  FakeProcessTable processes;
};

struct LookupCase {
  const char* what;
  TextView wanted;
  int caseSensitive;
  ProcessId expected;
};

void PrintTo(const LookupCase& c, std::ostream* out) { *out << c.what; }

class FindInSnapshotOrderTest
    : public FindProcessIdTest,
      public ::testing::WithParamInterface<LookupCase> {
 protected:
  void SetUp() override {
    processes.Add(4, "System");
    processes.Add(100, "svchost.exe");
    processes.Add(200, "Game.exe");
    processes.Add(300, "game.exe");
    processes.Add(400, "GAME.EXE");
    processes.Add(500, "\xC4\x41.exe");
  }
};

TEST_P(FindInSnapshotOrderTest, GivesTheFirstMatchingEntry) {
  EXPECT_EQ(
      FindProcessId(processes, GetParam().wanted, GetParam().caseSensitive),
      GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindInSnapshotOrderTest,
    ::testing::Values(
        LookupCase{"small letters find the first of any case", "game.exe", 0,
                   200},
        LookupCase{"capitals find the first of any case", "GAME.EXE", 0, 200},
        LookupCase{"mixed case finds the first of any case", "gAmE.ExE", 0,
                   200},
        LookupCase{"exact finds only the identical name", "game.exe", 1, 300},
        LookupCase{"exact with capitals", "GAME.EXE", 1, 400},
        LookupCase{"any flag but 0 is exact", "GAME.EXE", -1, 400},
        LookupCase{"exact mixed case finds none", "gAmE.ExE", 1, 0},
        LookupCase{"a capital after a high byte is not folded", "\xC4\x61.exe",
                   0, 0},
        LookupCase{"a name with a path finds none", "C:\\game.exe", 0, 0},
        LookupCase{"a trailing space finds none", "game.exe ", 0, 0},
        LookupCase{"an unknown name finds none", "notepad.exe", 0, 0},
        LookupCase{"the empty name finds none without an unnamed entry", "", 0,
                   0}));

TEST_F(FindProcessIdTest, LooksNoFurtherThanTheFirstMatch) {
  processes.Add(10, "a.exe");
  processes.Add(20, "b.exe");
  processes.Add(30, "c.exe");

  EXPECT_EQ(FindProcessId(processes, "B.EXE", 0), 20U);
  EXPECT_EQ(processes.CallCount(ProcessCall::FirstProcess), 1);
  EXPECT_EQ(processes.CallCount(ProcessCall::NextProcess), 1);
}

TEST_F(FindProcessIdTest, TheEmptyNameFindsAnUnnamedEntry) {
  processes.Add(10, "a.exe");
  processes.Add(20, "");
  processes.Add(30, "");

  EXPECT_EQ(FindProcessId(processes, "", 0), 20U);
  EXPECT_EQ(FindProcessId(processes, "", 1), 20U);
}

TEST_F(FindProcessIdTest, AWantedNameWithAZeroByteFindsNone) {
  processes.Add(10, "ab");

  // The entry's name ends at its zero, so the wanted name is one byte
  // longer than any name the entry can carry.
  EXPECT_EQ(FindProcessId(processes, std::string("ab\0", 3), 0), 0U);
  EXPECT_EQ(FindProcessId(processes, std::string("ab\0", 3), 1), 0U);
}

TEST_F(FindProcessIdTest, AMatchingEntryWithTheIdZeroGivesZero) {
  processes.Add(0, "[System Process]");
  processes.Add(8, "[System Process]");

  EXPECT_EQ(FindProcessId(processes, "[system process]", 0), 0U);
  EXPECT_EQ(processes.CallCount(ProcessCall::NextProcess), 0);
}

TEST_F(FindProcessIdTest, EachCallSeesTheProcessesOfItsMoment) {
  processes.Add(10, "a.exe");
  EXPECT_EQ(FindProcessId(processes, "late.exe", 0), 0U);

  processes.Add(20, "late.exe");
  EXPECT_EQ(FindProcessId(processes, "late.exe", 0), 20U);

  processes.Remove(20);
  EXPECT_EQ(FindProcessId(processes, "late.exe", 0), 0U);
  EXPECT_EQ(processes.CallCount(ProcessCall::CreateSnapshot), 3);
}

TEST_F(FindProcessIdTest, NoSnapshotGivesZeroAndWalksNothing) {
  processes.Add(10, "a.exe");
  processes.FailCall(ProcessCall::CreateSnapshot);

  EXPECT_EQ(FindProcessId(processes, "a.exe", 0), 0U);
  EXPECT_EQ(processes.CallCount(ProcessCall::FirstProcess), 0);
  EXPECT_EQ(FindProcessId(processes, "a.exe", 0), 10U);
}

TEST_F(FindProcessIdTest, AnUnreadableFirstEntryGivesZero) {
  processes.Add(10, "a.exe");
  processes.Add(20, "b.exe");
  processes.FailCall(ProcessCall::FirstProcess);

  EXPECT_EQ(FindProcessId(processes, "a.exe", 0), 0U);
  EXPECT_EQ(processes.CallCount(ProcessCall::NextProcess), 0);
}

TEST_F(FindProcessIdTest, AFailedNextEndsTheWalk) {
  processes.Add(10, "a.exe");
  processes.Add(20, "b.exe");
  processes.Add(30, "c.exe");
  processes.FailCall(ProcessCall::NextProcess, 2);

  EXPECT_EQ(FindProcessId(processes, "c.exe", 0), 0U);
}

TEST_F(FindProcessIdTest, TheLongestNamesAreComparedWhole) {
  const std::string longest(259, 'n');
  processes.Add(10, longest);
  processes.Add(20, std::string(300, 'm'));

  EXPECT_EQ(FindProcessId(processes, longest, 1), 10U);
  EXPECT_EQ(FindProcessId(processes, longest.substr(1), 1), 0U);
  // The system keeps 259 bytes of a longer name; only those can be found.
  EXPECT_EQ(FindProcessId(processes, std::string(300, 'm'), 0), 0U);
  EXPECT_EQ(FindProcessId(processes, std::string(259, 'M'), 0), 20U);
}

TEST_F(FindProcessIdTest, AFieldWithoutTerminatorGivesItsFirst259Bytes) {
  ProcessEntry unterminated;
  unterminated.processId = 10;
  unterminated.exeFile.fill('u');
  processes.AddRawEntry(unterminated);

  EXPECT_EQ(FindProcessId(processes, std::string(259, 'U'), 0), 10U);
  EXPECT_EQ(FindProcessId(processes, std::string(260, 'u'), 1), 0U);
}

}  // namespace
}  // namespace qiro
