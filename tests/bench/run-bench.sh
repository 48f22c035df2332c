#!/usr/bin/env bash
# Prints the benchmark figures: the cost of one memory-timer tick against a
# bare snapshot walk, on the fake process table (native build) and on the
# real process services under Wine (windows-i686 build). Figures only: the
# exit status says whether the benchmarks ran, not whether a target was met.
#
#   bash tests/bench/run-bench.sh
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
cd "$root"

status=0
native=build/native/tests/bench/qiro_tick_bench
if [[ -x $native ]]; then
  "$native" || status=1
else
  echo "bench: no $native (build the native preset)"
  status=1
fi

windows=build/windows-i686/tests/bench/qiro_tick_bench.exe
if [[ -f $windows ]]; then
  # shellcheck source=scripts/wine-env.sh
  source scripts/wine-env.sh
  if qiro_env_setup; then
    # CRLF line ends from the console exe.
    timeout 600 wine "$windows" | tr -d '\r' || status=1
  else
    echo "bench: the Wine environment could not be set up"
    status=1
  fi
else
  echo "bench: no $windows (build the windows-i686 preset)"
  status=1
fi
exit $status
