// A program that only stays alive, for the driver to find in snapshots and
// to raise, lower and trim. Copies of it run under two executable names.
#include <windows.h>

#include <cstdio>
#include <cstring>

namespace {

// Never outlives a test run for long, even if the driver dies.
constexpr DWORD kLifetimeMs = 10 * 60 * 1000;

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strcmp(argv[1], "--print-code-page") == 0) {
    // The ANSI code page that Wine gives a program started like this one.
    std::printf("%u\n", GetACP());
    return 0;
  }
  Sleep(kLifetimeMs);
  return 0;
}
