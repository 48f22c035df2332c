#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstddef>
#include <functional>

#include "app/Program.h"
#include "tests/fakes/FakeProcessTable.h"
#include "tests/fakes/FakeWindowToolkit.h"

namespace qiro::testing {

// The whole program on the two fakes. A test says what the user does while
// the event loop runs; the run ends when that closes the window.
class ProgramFixture : public ::testing::Test {
 protected:
  // Runs the program to its end and gives its exit code.
  int RunProgram(const std::function<void()>& whileRunning);
  void TearDown() override;

  static constexpr std::array kIconFile{std::byte{0}, std::byte{0},
                                        std::byte{1}, std::byte{0}};

  FakeWindowToolkit toolkit;
  FakeProcessTable processes;
  Program program{toolkit, processes, kIconFile};
};

}  // namespace qiro::testing
