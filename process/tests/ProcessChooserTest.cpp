#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/MainWindowControls.h"
#include "app/MainWindowLayout.h"
#include "process/ProcessChooser.h"
#include "tests/fakes/FakeProcessTable.h"
#include "tests/fakes/FakeWindowToolkit.h"

namespace qiro {
namespace {

using controls::kProcessChooser;
using ::testing::ElementsAre;
using testing::FakeProcessTable;
using testing::FakeWindowToolkit;
using ::testing::IsEmpty;
using testing::ProcessCall;

// The main window with the chooser's ListOpening bound as the program binds
// it.
class ProcessChooserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    EventBindings bindings{
        {kProcessChooser, Event::ListOpening,
         [this](int) { RefreshProcessChooser(toolkit, processes); }},
    };
    ASSERT_TRUE(toolkit.BuildWindow(MainWindowLayout(), std::move(bindings)));
  }
  void TearDown() override {
    EXPECT_EQ(processes.OpenHandleCount(), 0);
    EXPECT_THAT(processes.TakeFaults(), IsEmpty());
  }

  [[nodiscard]] std::vector<Text> Items() const {
    return toolkit.Items(kProcessChooser);
  }

  FakeProcessTable processes;
  FakeWindowToolkit toolkit;
};

TEST_F(ProcessChooserTest, ShowsEveryNameInSnapshotOrder) {
  processes.Add(30, "zeta.exe");
  processes.Add(10, "alpha.exe");
  processes.Add(20, "");
  processes.Add(40, "alpha.exe");
  processes.Add(50, "\xD3\xCE\xCF\xB7.exe");

  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));

  EXPECT_THAT(Items(), ElementsAre("zeta.exe", "alpha.exe", "", "alpha.exe",
                                   "\xD3\xCE\xCF\xB7.exe"));
}

TEST_F(ProcessChooserTest, ShowsAllOfMoreThan1024Processes) {
  std::vector<Text> expected;
  for (int i = 1; i <= 1500; ++i) {
    expected.push_back("p" + std::to_string(i) + ".exe");
    processes.Add(static_cast<ProcessId>(i * 4), expected.back());
  }

  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));

  EXPECT_EQ(Items(), expected);
}

TEST_F(ProcessChooserTest, ARefusedItemIsMissingAndTheRestFollow) {
  processes.Add(10, "a.exe");
  processes.Add(20, "b.exe");
  processes.Add(30, "c.exe");
  toolkit.RefuseAppendItems(
      [](int appendIndex, TextView) { return appendIndex == 1; });

  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));

  EXPECT_THAT(Items(), ElementsAre("a.exe", "c.exe"));
}

TEST_F(ProcessChooserTest, EachOpeningReplacesItemsAndSelection) {
  processes.Add(10, "a.exe");
  processes.Add(20, "b.exe");
  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));
  ASSERT_TRUE(toolkit.Select(kProcessChooser, 1));

  processes.Remove(10);
  processes.Add(30, "late.exe");
  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));

  EXPECT_THAT(Items(), ElementsAre("b.exe", "late.exe"));
  EXPECT_EQ(toolkit.SelectedIndex(kProcessChooser), -1);
}

TEST_F(ProcessChooserTest, NoSnapshotLeavesTheChooserEmpty) {
  processes.Add(10, "a.exe");
  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));
  ASSERT_TRUE(toolkit.Select(kProcessChooser, 0));
  processes.FailCall(ProcessCall::CreateSnapshot);

  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));

  EXPECT_THAT(Items(), IsEmpty());
  EXPECT_EQ(toolkit.SelectedIndex(kProcessChooser), -1);
}

TEST_F(ProcessChooserTest, AnUnreadableFirstEntryLeavesTheChooserEmpty) {
  processes.Add(10, "a.exe");
  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));
  processes.FailCall(ProcessCall::FirstProcess);

  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));

  EXPECT_THAT(Items(), IsEmpty());
}

TEST_F(ProcessChooserTest, TheLongestNamesAreShownWhole) {
  processes.Add(10, std::string(259, 'n'));
  ProcessEntry unterminated;
  unterminated.processId = 20;
  unterminated.exeFile.fill('u');
  processes.AddRawEntry(unterminated);

  ASSERT_TRUE(toolkit.OpenList(kProcessChooser));

  EXPECT_THAT(Items(),
              ElementsAre(std::string(259, 'n'), std::string(259, 'u')));
}

}  // namespace
}  // namespace qiro
