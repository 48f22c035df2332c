#include "app/tests/ProgramFixture.h"

namespace qiro::testing {

int ProgramFixture::RunProgram(const std::function<void()>& whileRunning) {
  toolkit.WhileEventLoopRuns(whileRunning);
  return program.Run();
}

void ProgramFixture::TearDown() { EXPECT_EQ(processes.OpenHandleCount(), 0); }

}  // namespace qiro::testing
