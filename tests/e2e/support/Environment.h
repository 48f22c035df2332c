#pragma once

#include <string>

namespace qiro::e2e {

// Where things are, as tests/e2e/run-e2e.sh passes them: Unix paths in the
// environment, turned into Wine's DOS paths here.
struct E2ePaths {
  std::wstring programExe;     // QiroUlvane.exe
  std::string programExeUnix;  // the same, for starting it from /bin/sh
  std::wstring targetsDir;     // the sleeping targets and their copies
  std::string targetsDirUnix;
  std::wstring workDir;  // scratch files: relay logs, status files
  std::string workDirUnix;
};

// Empty members when a variable is missing; WineVersion() tells whether
// the driver runs under Wine at all.
const E2ePaths& Paths();

// Wine's version, or empty when not running under Wine.
std::string WineVersion();

// A Unix path as this process sees it under Wine; empty if it cannot be
// mapped.
std::wstring DosPathOf(const std::string& unixPath);

}  // namespace qiro::e2e
