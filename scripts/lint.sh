#!/usr/bin/env bash
# The static checks: clang-format (the layout of every source), cppcheck and
# clang-tidy (the portable logic, against the native build's compile
# commands). Quiet means clean; any finding fails.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

status=0
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
mapfile -t portable < <(git ls-files 'app/*.cpp' 'process/*.cpp' 'optimise/*.cpp' 'platform/*.cpp' \
  | grep -v -e '/tests/' -e '^platform/win32/' -e '^app/WinMain.cpp$')

echo "clang-format: ${#sources[@]} files"
clang-format --dry-run -Werror "${sources[@]}" || status=1

echo "cppcheck: ${#portable[@]} files"
cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ \
  --enable=warning,performance,portability --inline-suppr \
  -I . "${portable[@]}" || status=1

compile_commands=build/native/compile_commands.json
if [[ -f $compile_commands ]]; then
  echo "clang-tidy: ${#portable[@]} files"
  out=$(clang-tidy --quiet -p build/native "${portable[@]}" 2>/dev/null)
  if grep -qE '(warning|error):' <<<"$out"; then
    grep -E -A3 '(warning|error):' <<<"$out"
    status=1
  fi
else
  echo "clang-tidy: no $compile_commands (build the native preset first)"
  status=1
fi
exit $status
