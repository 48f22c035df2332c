#include "support/Targets.h"

#include "support/Environment.h"

namespace qiro::e2e {

TestProcess StartTarget(const std::wstring& relativePath,
                        std::string& failure) {
  return StartProcess(Paths().targetsDir + L"\\" + relativePath, L"", failure);
}

::testing::AssertionResult Targets::Start() {
  std::string failure;
  twinA = StartTarget(L"first\\QiroE2eTwin.exe", failure);
  if (twinA) {
    twinB = StartTarget(L"second\\QiroE2eTwin.exe", failure);
  }
  if (twinB) {
    loner = StartTarget(kLonerName, failure);
  }
  if (!loner) {
    return ::testing::AssertionFailure()
           << "could not start the targets: " << failure;
  }
  return Eventually("the three targets in a snapshot", 5s, [&] {
    return ProcessIdsNamed(kTwinName).size() == 2 &&
           ProcessIdsNamed(kLonerName).size() == 1;
  });
}

DWORD Targets::FirstTwin() { return FirstProcessNamed(kTwinName); }

DWORD Targets::OtherTwin() const {
  const DWORD first = FirstTwin();
  return first == twinA.Id() ? twinB.Id() : twinA.Id();
}

}  // namespace qiro::e2e
