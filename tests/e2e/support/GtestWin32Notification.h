#pragma once

// MinGW's win32 thread model has no std::mutex or std::condition_variable,
// which GoogleTest's Notification is built on; this one, included before
// GoogleTest's headers, waits on a Win32 event instead and tells GoogleTest
// that a Notification exists already.
#include <windows.h>

#define GTEST_HAS_NOTIFICATION_ 1

namespace testing::internal {

class Notification {
 public:
  Notification() : event_(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
  Notification(const Notification&) = delete;
  Notification& operator=(const Notification&) = delete;
  ~Notification() { CloseHandle(event_); }

  void Notify() { SetEvent(event_); }
  void WaitForNotification() { WaitForSingleObject(event_, INFINITE); }

 private:
  HANDLE event_;
};

}  // namespace testing::internal
