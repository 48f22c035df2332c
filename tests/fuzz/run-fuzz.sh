#!/usr/bin/env bash
# Runs the name-comparison fuzz target for a bounded time and prints how many
# inputs it tried. The target comes from a native-sanitize build.
#
#   bash tests/fuzz/run-fuzz.sh build/native-sanitize [SECONDS]
#
# SECONDS defaults to 30. The corpus grows in BUILD_DIR/tests/fuzz/corpus
# from one run to the next. Exit status 0 only when the fuzzer found nothing.
set -euo pipefail

build=${1:?usage: run-fuzz.sh BUILD_DIR [SECONDS]}
seconds=${2:-30}
fuzzer=$build/tests/fuzz/qiro_name_fuzz
if [[ ! -x $fuzzer ]]; then
  echo "name fuzz: no $fuzzer (configure and build the native-sanitize preset)" >&2
  exit 1
fi
corpus=$build/tests/fuzz/corpus
mkdir -p "$corpus"
log=$(mktemp)
trap 'rm -f "$log"' EXIT

# Seeds: the first byte says where the two names split. Capitals, code page
# 936 pairs with a capital second byte, a lead byte at the very end, and an
# unterminated field of 260 bytes.
printf '\x08GAME.exegame.exe' >"$corpus/seed-case"
printf '\x04\x81\x41\xc4A\x81\x61\xc4a' >"$corpus/seed-pairs"
printf '\x02Z\x81z\x81' >"$corpus/seed-lead-last"
{ printf '\x00'; head -c 260 /dev/zero | tr '\0' 'u'; } >"$corpus/seed-unterminated"

status=0
# Artifacts (a crashing input) go beside the corpus, not into the caller's
# working directory.
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 -max_len=1024 \
  -artifact_prefix="$build/tests/fuzz/" "$corpus" >"$log" 2>&1 || status=$?
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
if ((status != 0)); then
  tail -n 40 "$log" >&2
  echo "name fuzz: FAILED after ${runs:-?} executions (exit $status)" >&2
  exit "$status"
fi
echo "name fuzz: ${runs:-?} executions in ${seconds} s, no failure"
