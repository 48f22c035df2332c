#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "support/Eventually.h"

namespace qiro::e2e {

// Wine starts a Unix program from CreateProcess but gives no handle to wait
// on, so a finished command leaves its exit status in a file of the work
// directory, and waiting means polling for that file.

// Runs the script with /bin/sh -c; its exit status, or nothing when it
// could not be started or did not end in time. The script must not contain
// double quotes or backslashes (Wine splits the command line by Windows
// rules); quote with ShellQuoted.
std::optional<int> RunUnixShell(std::string_view script, Milliseconds timeout);

// Starts the script with /bin/sh -c and does not wait for it.
bool StartUnixShell(std::string_view script);

// The text in single quotes for /bin/sh.
std::string ShellQuoted(std::string_view text);

}  // namespace qiro::e2e
