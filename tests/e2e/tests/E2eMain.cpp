// The end-to-end driver: GoogleTest's runner, with a closing line of the
// form "N passed, N failed" for scripts to read.
#include <gtest/gtest.h>

#include <cstdio>

namespace {

class ClosingCounts : public ::testing::EmptyTestEventListener {
  void OnTestProgramEnd(const ::testing::UnitTest& run) override {
    // A failure outside any test (a crashed fixture, a global set-up)
    // counts as one more failed test, so that it is never lost.
    const int outside = run.ad_hoc_test_result().Failed() ? 1 : 0;
    std::printf("%d passed, %d failed\n", run.successful_test_count(),
                run.failed_test_count() + outside);
    std::fflush(stdout);
  }
};

}  // namespace

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::UnitTest::GetInstance()->listeners().Append(new ClosingCounts);
  return RUN_ALL_TESTS();
}
