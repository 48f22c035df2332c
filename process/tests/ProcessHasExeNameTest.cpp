#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <ostream>

#include "process/ProcessHasExeName.h"
#include "tests/fakes/FakeProcessTable.h"

namespace qiro {
namespace {

using testing::FakeProcessTable;
using testing::ProcessCall;

struct IdentityCase {
  const char* what;
  ProcessId id;
  TextView name;
  bool expected;
};

void PrintTo(const IdentityCase& c, std::ostream* out) { *out << c.what; }

class ProcessHasExeNameTest : public ::testing::Test {
 protected:
  void SetUp() override {
    processes.Add(100, "game.exe");
    processes.Add(200, "other.exe");
  }
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), ::testing::IsEmpty());
  }

  FakeProcessTable processes;
};

class ProcessIdentityTest : public ProcessHasExeNameTest,
                            public ::testing::WithParamInterface<IdentityCase> {
};

TEST_P(ProcessIdentityTest, AnswersForTheProcessWithThatId) {
  EXPECT_EQ(ProcessHasExeName(processes, GetParam().id, GetParam().name),
            GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ProcessIdentityTest,
    ::testing::Values(
        IdentityCase{"its own name", 100, "game.exe", true},
        IdentityCase{"its name in other case", 100, "GAME.EXE", true},
        IdentityCase{"another program's name", 200, "game.exe", false},
        IdentityCase{"an ID no process has", 300, "game.exe", false},
        IdentityCase{"the ID 0", 0, "", false}));

TEST_F(ProcessHasExeNameTest, NoSnapshotMeansNo) {
  processes.FailCall(ProcessCall::CreateSnapshot);

  EXPECT_FALSE(ProcessHasExeName(processes, 100, "game.exe"));
}

}  // namespace
}  // namespace qiro
