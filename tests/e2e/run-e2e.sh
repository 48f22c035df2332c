#!/usr/bin/env bash
# Runs the end-to-end tests of a windows-i686 build under Wine:
#   tests/e2e/run-e2e.sh BUILD_DIR [driver options, e.g. --gtest_filter=Tray.*]
# Makes the Wine environment (scripts/wine-env.sh; its own prefix under
# BUILD_DIR unless QIRO_WINE_DIR says otherwise), starts the driver, prints
# its closing line "N passed, N failed" and exits nonzero on any failure,
# including a missing Wine or a missing build.
set -uo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
root=$(cd "$here/../.." && pwd)

fail() {
  echo "run-e2e: $*" >&2
  echo "0 passed, 1 failed"
  exit 1
}

(($# >= 1)) || fail "usage: run-e2e.sh BUILD_DIR [driver options]"
[[ -d $1 ]] || fail "no build directory $1"
build_dir=$(cd "$1" && pwd)
shift

driver=$build_dir/tests/e2e/QiroE2eDriver.exe
program=$build_dir/app/QiroUlvane.exe
targets=$build_dir/tests/e2e/targets
[[ -f $driver ]] || fail "the test driver $driver is missing: build the windows-i686 preset"
# A missing program is reported by every test that starts it.
[[ -f $program ]] || echo "run-e2e: $program is missing: the tests that start it will fail" >&2

export QIRO_WINE_DIR=${QIRO_WINE_DIR:-$build_dir/e2e-wine}
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
qiro_env_setup xdotool || fail "the Wine environment could not be made (see above)"

work=$QIRO_WINE_DIR/work
rm -rf "$work"
mkdir -p "$work"
export QIRO_E2E_PROGRAM=$program QIRO_E2E_TARGETS=$targets QIRO_E2E_WORK=$work

started=$(date +%s)
# The driver's own limit: well within CTest's 600 s for the whole run.
timeout 480 wine "$driver" "$@" 2>"$work/driver-stderr.log" | tr -d '\r' | tee "$work/driver.log"
status=${PIPESTATUS[0]}
echo "run-e2e: finished in $(($(date +%s) - started)) s; logs in $work"

if ((status == 124)); then
  fail "the driver did not finish within 480 s"
fi
if ! tail -n 1 "$work/driver.log" | grep -Eq '^[0-9]+ passed, [0-9]+ failed$'; then
  echo "run-e2e: the driver ended (status $status) without its closing counts; its stderr:" >&2
  tail -n 20 "$work/driver-stderr.log" >&2
  fail "the driver did not complete"
fi

exit "$status"
