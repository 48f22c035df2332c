#pragma once

#include <string>

#include "support/Processes.h"

namespace qiro::e2e {

inline constexpr const wchar_t* kTwinName = L"QiroE2eTwin.exe";
inline constexpr const wchar_t* kLonerName = L"QiroE2eLoner.exe";

// The sleeping targets: two copies that share one executable name, from
// two folders, and one with a name of its own.
struct Targets {
  TestProcess twinA;
  TestProcess twinB;
  TestProcess loner;

  ::testing::AssertionResult Start();
  // The twin that comes first in a snapshot, and the other one: which one
  // the program must act on, and which one it must leave alone.
  [[nodiscard]] static DWORD FirstTwin();
  [[nodiscard]] DWORD OtherTwin() const;
};

TestProcess StartTarget(const std::wstring& relativePath, std::string& failure);

}  // namespace qiro::e2e
