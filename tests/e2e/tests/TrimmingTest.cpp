// Working-set trimming as Wine's relay trace of the program shows it: the
// program's own working set every 200 ms from start to end, and the chosen
// process's only while the switch is on with the memory option, each time
// through a handle opened for that one call and closed right after it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <sstream>

#include "support/Chooser.h"
#include "support/ProgramTexts.h"
#include "support/QiroProgram.h"
#include "support/Targets.h"
#include "support/WindowQueries.h"

namespace qiro::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// A stretch of the trace between two moments.
struct Stretch {
  const char* name = "";
  std::size_t begin = 0;
  std::size_t end = 0;
  double seconds = 0;
};

// Five a second is the period of 200 ms; the bounds leave room for the
// timer's jitter and for the edges of the stretch, and still tell 200 ms
// apart from 100 ms or 500 ms.
constexpr double kLowestRate = 3.0;
constexpr double kHighestRate = 8.0;

class TraceRecorder {
 public:
  explicit TraceRecorder(const RelayLog& log) : log_(log) {}
  Stretch Record(const char* name, Milliseconds duration) const {
    Stretch stretch{name, log_.Size(), 0, 0};
    const auto start = Clock::now();
    Pause(duration);
    stretch.end = log_.Size();
    stretch.seconds =
        std::chrono::duration<double>(Clock::now() - start).count();
    return stretch;
  }

 private:
  const RelayLog& log_;
};

::testing::AssertionResult RateIsFiveASecond(const TraceAnalysis& trace,
                                             TraceEventKind kind,
                                             DWORD processId,
                                             const Stretch& stretch) {
  const int count = trace.Count(kind, processId, stretch.begin, stretch.end);
  const double rate = count / stretch.seconds;
  if (rate < kLowestRate || rate > kHighestRate) {
    return ::testing::AssertionFailure()
           << count << " trims in " << stretch.seconds << " s " << stretch.name
           << " (" << rate << " a second), expected about 5 a second";
  }
  return ::testing::AssertionSuccess();
}

std::string Listed(const std::vector<std::string>& violations) {
  std::ostringstream text;
  for (const std::string& violation : violations) {
    text << "\n  " << violation;
  }
  return text.str();
}

TEST(Trimming, EmptiesTheChosenWorkingSetFiveTimesASecondOnlyWhileSwitchedOn) {
  Targets targets;
  ASSERT_TRUE(targets.Start());
  QiroProgram program;
  ASSERT_TRUE(program.Start(LaunchMode::RelayTraced));
  const TraceRecorder recorder(program.Trace());

  HWND notice = nullptr;
  ASSERT_TRUE(program.AwaitNotice(onscreen::kStartupTitle,
                                  onscreen::kStartupText, notice));
  const Stretch duringNotice =
      recorder.Record("during the start-up notice", 1500ms);
  ASSERT_TRUE(program.Dismiss(notice));
  ASSERT_TRUE(program.AwaitMainWindow());

  HWND chooser = program.ControlWindow(Control::Chooser);
  std::vector<std::wstring> items;
  ASSERT_TRUE(OpenAndReadList(chooser, items));
  ASSERT_TRUE(SelectItem(chooser, FirstIndexOf(items, kTwinName)));
  const DWORD target = Targets::FirstTwin();
  const DWORD other = targets.OtherTwin();

  // Only cpu ticked: the chosen process is never trimmed.
  ASSERT_TRUE(program.Click(Control::SwitchButton));
  const Stretch cpuOnly =
      recorder.Record("while on with only cpu ticked", 1200ms);
  ASSERT_TRUE(program.Click(Control::SwitchButton));

  ASSERT_TRUE(program.Click(Control::Ram));
  ASSERT_EQ(SendWithin(program.ControlWindow(Control::Ram), BM_GETCHECK, 0, 0),
            BST_CHECKED);
  ASSERT_TRUE(program.Click(Control::SwitchButton));
  const Stretch switchedOn =
      recorder.Record("while on with ram ticked", 2000ms);
  // Hidden behind its icon, the program goes on trimming.
  ASSERT_TRUE(program.Click(Control::HideButton));
  ASSERT_FALSE(Visible(program.Window()));
  const Stretch hidden = recorder.Record("while on and hidden", 1500ms);
  ASSERT_TRUE(program.Click(Control::SwitchButton));
  const Stretch switchedOff = recorder.Record("after switching off", 1500ms);
  ASSERT_TRUE(program.Close(CloseMethod::CloseMessage));

  const TraceAnalysis trace = program.Trace().Analyse();
  EXPECT_TRUE(trace.violations.empty()) << Listed(trace.violations);
  EXPECT_EQ(trace.handlesStillOpen, 0u) << "process handles left open";

  for (const Stretch& stretch :
       {duringNotice, cpuOnly, switchedOn, hidden, switchedOff}) {
    EXPECT_TRUE(RateIsFiveASecond(trace, TraceEventKind::OwnTrim, 0, stretch))
        << "own working set";
  }
  EXPECT_EQ(trace.Count(TraceEventKind::ProcessTrim, target, cpuOnly.begin,
                        cpuOnly.end),
            0);
  for (const Stretch& stretch : {switchedOn, hidden}) {
    EXPECT_TRUE(
        RateIsFiveASecond(trace, TraceEventKind::ProcessTrim, target, stretch))
        << "chosen process";
    const int opens = trace.Count(TraceEventKind::ProcessOpen, target,
                                  stretch.begin, stretch.end);
    const int closes = trace.Count(TraceEventKind::ProcessClose, target,
                                   stretch.begin, stretch.end);
    // A stretch may cut one tick in two.
    EXPECT_LE(std::abs(opens - closes), 1)
        << opens << " opens, " << closes << " closes " << stretch.name;
  }
  for (const Stretch& stretch :
       {duringNotice, cpuOnly, switchedOn, hidden, switchedOff}) {
    EXPECT_EQ(trace.Count(TraceEventKind::ProcessTrim, other, stretch.begin,
                          stretch.end),
              0)
        << "the second process of the same name was trimmed " << stretch.name;
  }
  EXPECT_EQ(trace.Count(TraceEventKind::ProcessOpen, target, switchedOff.begin,
                        switchedOff.end),
            0)
      << "the chosen process is still opened after switching off";
  EXPECT_EQ(trace.Count(TraceEventKind::ProcessTrim, target, switchedOff.begin,
                        switchedOff.end),
            0);
}

}  // namespace
}  // namespace qiro::e2e
