#include "support/Eventually.h"

#include <windows.h>

namespace qiro::e2e {
namespace {

constexpr Milliseconds kPollInterval = 20ms;

}  // namespace

void Pause(Milliseconds duration) {
  Sleep(static_cast<DWORD>(duration.count()));
}

::testing::AssertionResult Eventually(std::string_view what,
                                      Milliseconds timeout,
                                      const std::function<bool()>& condition) {
  const auto deadline = std::chrono::steady_clock::now() + timeout;
  while (true) {
    if (condition()) {
      return ::testing::AssertionSuccess();
    }
    if (std::chrono::steady_clock::now() >= deadline) {
      return ::testing::AssertionFailure()
             << "timed out after " << timeout.count() << " ms waiting for "
             << what;
    }
    Pause(kPollInterval);
  }
}

::testing::AssertionResult Throughout(std::string_view what,
                                      Milliseconds duration,
                                      const std::function<bool()>& condition) {
  const auto start = std::chrono::steady_clock::now();
  const auto end = start + duration;
  while (true) {
    if (!condition()) {
      const auto after = std::chrono::duration_cast<Milliseconds>(
          std::chrono::steady_clock::now() - start);
      return ::testing::AssertionFailure()
             << "no longer true after " << after.count() << " ms: " << what;
    }
    if (std::chrono::steady_clock::now() >= end) {
      return ::testing::AssertionSuccess();
    }
    Pause(kPollInterval);
  }
}

}  // namespace qiro::e2e
