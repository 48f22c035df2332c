// The chooser's list is refilled, when it opens, with the executable name
// of every running process in snapshot order.
#include <gtest/gtest.h>

#include <algorithm>

#include "support/Chooser.h"
#include "support/QiroProgram.h"
#include "support/Targets.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

std::vector<std::wstring> SnapshotNames() {
  const std::vector<SnapshotEntry> entries = TakeProcessSnapshot();
  std::vector<std::wstring> names(entries.size());
  std::transform(entries.begin(), entries.end(), names.begin(),
                 [](const SnapshotEntry& entry) { return entry.exeName; });
  return names;
}

long Occurrences(const std::vector<std::wstring>& items,
                 const std::wstring& name) {
  return std::count(items.begin(), items.end(), name);
}

class ProcessChooser : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(targets_.Start());
    ASSERT_TRUE(program_.StartAndShow());
    chooser_ = program_.ControlWindow(Control::Chooser);
    ASSERT_NE(chooser_, nullptr);
  }
  void TearDown() override {
    if (program_.Running() && program_.Window() != nullptr) {
      EXPECT_TRUE(program_.Close(CloseMethod::CloseMessage));
    }
  }
  Targets targets_;
  QiroProgram program_;
  HWND chooser_ = nullptr;
};

TEST_F(ProcessChooser, OpeningListsEveryRunningProcessInSnapshotOrder) {
  std::vector<std::wstring> before;
  std::vector<std::wstring> items;
  std::vector<std::wstring> after;
  // Wine starts and ends helper processes of its own now and then; compare
  // only against a moment when nothing changed around the opening.
  for (int attempt = 0; attempt < 3; ++attempt) {
    before = SnapshotNames();
    ASSERT_TRUE(OpenAndReadList(chooser_, items));
    after = SnapshotNames();
    if (before == after) {
      break;
    }
  }
  ASSERT_EQ(Utf8All(before), Utf8All(after)) << "the processes kept changing";
  EXPECT_EQ(Utf8All(items), Utf8All(before));
  EXPECT_EQ(Occurrences(items, kTwinName), 2)
      << "one item per process of a shared name";
  EXPECT_EQ(Occurrences(items, kLonerName), 1);
  EXPECT_EQ(ComboSelection(chooser_), CB_ERR);
}

TEST_F(ProcessChooser,
       ReopeningDropsTheSelectionAndShowsProcessesStartedSince) {
  std::vector<std::wstring> items;
  ASSERT_TRUE(OpenAndReadList(chooser_, items));
  const int loner = FirstIndexOf(items, kLonerName);
  ASSERT_GE(loner, 0);
  ASSERT_TRUE(SelectItem(chooser_, loner));

  std::string failure;
  TestProcess late = StartTarget(kLonerName, failure);
  ASSERT_TRUE(late) << failure;
  ASSERT_TRUE(Eventually("the late target in a snapshot", 5s, [&] {
    return ProcessIdsNamed(kLonerName).size() == 2;
  }));
  // Not listed until the list is opened again.
  EXPECT_EQ(Occurrences(ComboItems(chooser_), kLonerName), 1);
  EXPECT_EQ(ComboSelection(chooser_), loner);

  ASSERT_TRUE(OpenAndReadList(chooser_, items));
  EXPECT_EQ(Occurrences(items, kLonerName), 2);
  EXPECT_EQ(ComboSelection(chooser_), CB_ERR)
      << "the old selection survived the refill";
}

}  // namespace
}  // namespace qiro::e2e
