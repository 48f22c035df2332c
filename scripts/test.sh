#!/usr/bin/env bash
# Runs every test: installs what is missing, builds every preset, then the
# unit tests (plain and under ASan/UBSan), the fuzz target for a bounded
# time, the static checks, and the end-to-end tests of the real 32-bit exe
# under Wine. Ends with one line "N passed, N failed" over all suites.
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

passed=0
failed=0
failures=()

step() { printf '\n=== %s\n' "$*"; }

# Adds the counts of one suite; a suite that could not run counts as one
# failure so that it never looks green.
count_suite() {
  local name=$1 status=$2 suite_passed=$3 suite_failed=$4
  if [[ $status -ne 0 && $suite_failed -eq 0 ]]; then
    suite_failed=1
  fi
  passed=$((passed + suite_passed))
  failed=$((failed + suite_failed))
  if [[ $suite_failed -ne 0 ]]; then
    failures+=("$name")
  fi
}

# ctest prints "NN% tests passed, F tests failed out of T".
run_ctest() {
  local name=$1 preset=$2 log
  log=$(mktemp)
  ctest --preset "$preset" -j2 2>&1 | tee "$log"
  local status=${PIPESTATUS[0]}
  local line total bad
  line=$(grep -E 'tests failed out of [0-9]+' "$log" | tail -n 1)
  total=$(sed -E 's/.* out of ([0-9]+).*/\1/' <<<"$line")
  bad=$(sed -E 's/.* ([0-9]+) tests failed.*/\1/' <<<"$line")
  rm -f "$log"
  count_suite "$name" "$status" "$(( ${total:-0} - ${bad:-0} ))" "${bad:-0}"
}

build_preset() {
  local preset=$1
  cmake --preset "$preset" >/dev/null && cmake --build --preset "$preset" -j2
}

# A suite that reports only through its exit code counts as one test.
run_check() {
  local name=$1
  shift
  if "$@"; then
    count_suite "$name" 0 1 0
  else
    count_suite "$name" 1 0 1
  fi
}

step "Installing what is missing"
bash scripts/install-deps.sh || { echo "installing the dependencies failed"; exit 1; }

step "Native build and unit tests"
if build_preset native; then
  run_ctest "unit tests" native
else
  count_suite "native build" 1 0 1
fi

step "Unit tests under AddressSanitizer and UndefinedBehaviorSanitizer"
if build_preset native-sanitize; then
  run_ctest "sanitized unit tests" native-sanitize
  step "Fuzzing the name comparison"
  run_check "fuzz" bash tests/fuzz/run-fuzz.sh build/native-sanitize
else
  count_suite "sanitized build" 1 0 1
fi

step "Windows builds"
for preset in windows-i686 windows-x86_64; do
  if build_preset "$preset"; then
    run_check "$preset imports only system DLLs" \
      bash scripts/check-imports.sh "build/$preset/app/QiroUlvane.exe"
  else
    count_suite "$preset build" 1 0 1
  fi
done

step "Static checks"
run_check "static checks" bash scripts/lint.sh

step "End-to-end tests under Wine"
if [[ -f build/windows-i686/app/QiroUlvane.exe ]]; then
  log=$(mktemp)
  bash tests/e2e/run-e2e.sh build/windows-i686 2>&1 | tee "$log"
  status=${PIPESTATUS[0]}
  line=$(grep -E '^[^ ]*:? ?[0-9]+ passed, [0-9]+ failed' "$log" | tail -n 1)
  e2e_passed=$(grep -oE '[0-9]+ passed' <<<"$line" | grep -oE '[0-9]+')
  e2e_failed=$(grep -oE '[0-9]+ failed' <<<"$line" | grep -oE '[0-9]+')
  rm -f "$log"
  count_suite "end-to-end" "$status" "${e2e_passed:-0}" "${e2e_failed:-0}"
else
  count_suite "end-to-end (no exe)" 1 0 1
fi

step "Benchmarks (figures only)"
bash tests/bench/run-bench.sh || echo "the benchmarks did not run"

echo
if ((${#failures[@]} > 0)); then
  echo "failed suites: ${failures[*]}"
fi
echo "$passed passed, $failed failed"
[[ $failed -eq 0 ]]
