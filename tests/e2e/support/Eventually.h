#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string_view>

namespace qiro::e2e {

using namespace std::chrono_literals;
using Milliseconds = std::chrono::milliseconds;

// Polls until the condition holds or the time is up. Every wait of the
// driver goes through here, so that each one has a limit and a failure
// that names what it waited for.
::testing::AssertionResult Eventually(std::string_view what,
                                      Milliseconds timeout,
                                      const std::function<bool()>& condition);

// Keeps checking for a while that the condition holds throughout: for
// "nothing happens" observations, which have no event to wait for.
::testing::AssertionResult Throughout(std::string_view what,
                                      Milliseconds duration,
                                      const std::function<bool()>& condition);

void Pause(Milliseconds duration);

}  // namespace qiro::e2e
