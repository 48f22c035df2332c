#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "process/ProcessList.h"
#include "tests/fakes/FakeProcessTable.h"

namespace qiro {
namespace {

using ::testing::ElementsAre;
using testing::FakeProcess;
using testing::FakeProcessTable;
using ::testing::IsEmpty;
using testing::ProcessCall;

std::vector<ProcessId> IdsOf(const std::vector<ProcessInfo>& list) {
  std::vector<ProcessId> ids;
  ids.reserve(list.size());
  for (const ProcessInfo& process : list) {
    ids.push_back(process.ProcessId);
  }
  return ids;
}

std::vector<Text> NamesOf(const std::vector<ProcessInfo>& list) {
  std::vector<Text> names;
  names.reserve(list.size());
  for (const ProcessInfo& process : list) {
    names.push_back(process.ExeName);
  }
  return names;
}

class ListSystemProcessesTest : public ::testing::Test {
 protected:
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), IsEmpty());
  }

  FakeProcessTable processes;
};

TEST_F(ListSystemProcessesTest, CarriesEveryFieldOfTheEntry) {
  processes.Add(FakeProcess{.id = 1234,
                            .name = "game.exe",
                            .moduleId = 77,
                            .parentId = 88,
                            .basePriority = -3,
                            .threadCount = 42});

  const std::vector<ProcessInfo> list = ListSystemProcesses(processes);

  ASSERT_EQ(list.size(), 1U);
  EXPECT_EQ(list[0].ProcessId, 1234U);
  EXPECT_EQ(list[0].ExeName, "game.exe");
  EXPECT_EQ(list[0].ModuleId, 77U);
  EXPECT_EQ(list[0].ParentProcessId, 88U);
  EXPECT_EQ(list[0].BasePriority, -3);
  EXPECT_EQ(list[0].ThreadCount, 42U);
}

TEST_F(ListSystemProcessesTest, KeepsSnapshotOrderDuplicatesAndEmptyNames) {
  processes.Add(30, "zeta.exe");
  processes.Add(0, "[System Process]");
  processes.Add(10, "alpha.exe");
  processes.Add(20, "");
  processes.Add(40, "alpha.exe");

  const std::vector<ProcessInfo> list = ListSystemProcesses(processes);

  EXPECT_THAT(IdsOf(list), ElementsAre(30, 0, 10, 20, 40));
  EXPECT_THAT(NamesOf(list), ElementsAre("zeta.exe", "[System Process]",
                                         "alpha.exe", "", "alpha.exe"));
}

TEST_F(ListSystemProcessesTest, ListsMoreProcessesThanTheFirstTableHolds) {
  for (ProcessId id = 1; id <= 1500; ++id) {
    processes.Add(id * 4, "p" + std::to_string(id) + ".exe");
  }

  const std::vector<ProcessInfo> list = ListSystemProcesses(processes);

  ASSERT_EQ(list.size(), 1500U);
  for (std::size_t i = 0; i < list.size(); ++i) {
    ASSERT_EQ(list[i].ProcessId, (i + 1) * 4) << "at " << i;
    ASSERT_EQ(list[i].ExeName, "p" + std::to_string(i + 1) + ".exe");
  }
}

TEST_F(ListSystemProcessesTest, NoSnapshotGivesAnEmptyList) {
  processes.Add(10, "a.exe");
  processes.FailCall(ProcessCall::CreateSnapshot);

  EXPECT_THAT(ListSystemProcesses(processes), IsEmpty());
  EXPECT_EQ(processes.CallCount(ProcessCall::FirstProcess), 0);
}

TEST_F(ListSystemProcessesTest, AnUnreadableFirstEntryGivesAnEmptyList) {
  processes.Add(10, "a.exe");
  processes.Add(20, "b.exe");
  processes.FailCall(ProcessCall::FirstProcess);

  EXPECT_THAT(ListSystemProcesses(processes), IsEmpty());
  EXPECT_EQ(processes.CallCount(ProcessCall::NextProcess), 0);
}

TEST_F(ListSystemProcessesTest, AFailedNextEndsTheListThere) {
  processes.Add(10, "a.exe");
  processes.Add(20, "b.exe");
  processes.Add(30, "c.exe");
  processes.FailCall(ProcessCall::NextProcess, 2);

  EXPECT_THAT(IdsOf(ListSystemProcesses(processes)), ElementsAre(10, 20));
}

TEST_F(ListSystemProcessesTest, ANameEndsAtItsFirstZeroByte) {
  processes.Add(10, std::string("ab\0cd", 5));

  EXPECT_THAT(NamesOf(ListSystemProcesses(processes)), ElementsAre("ab"));
}

TEST_F(ListSystemProcessesTest, NamesAreAtMost259Bytes) {
  const std::string longest(259, 'n');
  processes.Add(10, longest);
  processes.Add(20, std::string(400, 'm'));
  ProcessEntry unterminated;
  unterminated.processId = 30;
  unterminated.exeFile.fill('u');
  processes.AddRawEntry(unterminated);

  EXPECT_THAT(
      NamesOf(ListSystemProcesses(processes)),
      ElementsAre(longest, std::string(259, 'm'), std::string(259, 'u')));
}

}  // namespace
}  // namespace qiro
