#!/usr/bin/env bash
# The static checks: clang-format (the layout of every source), cppcheck and
# clang-tidy (the portable logic against the native build's compile commands,
# the Win32 bindings and the end-to-end support against the 32-bit Windows
# build's). Quiet means clean; any finding fails.
set -uo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

status=0
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
mapfile -t portable < <(git ls-files 'app/*.cpp' 'process/*.cpp' 'optimise/*.cpp' 'platform/*.cpp' \
  | grep -v -e '/tests/' -e '^platform/win32/' -e '^app/WinMain.cpp$')
# The gtest test files are left out: the checkers cannot see through its
# macros without its headers' full configuration.
mapfile -t windows < <(git ls-files 'platform/win32/*.cpp' 'app/WinMain.cpp' \
  'tests/e2e/support/*.cpp' 'tests/e2e/tools/*.cpp' 'tests/e2e/targets/*.cpp')

# Runs clang-tidy with the compile commands of one build: tidy BUILD
# [EXTRA-ARG...] -- FILE...; prints only the findings and fails when there
# are any.
tidy() {
  local build=$1 args=() out
  shift
  while (($# > 0)) && [[ $1 != -- ]]; do
    args+=("$1")
    shift
  done
  shift
  # Two clang-tidy processes at once: the machines this runs on have two cores.
  out=$(printf '%s\0' "$@" \
    | xargs -0 -n 4 -P 2 clang-tidy --quiet -p "$build" "${args[@]}" 2>/dev/null)
  if grep -qE '(warning|error):' <<<"$out"; then
    grep -E -A3 '(warning|error):' <<<"$out"
    return 1
  fi
}

# clang reads the MinGW sources with the cross compiler's own header search
# list, so that it sees the same <windows.h> and C++ library as the build.
mingw_include_args() {
  local compiler=$1
  "$compiler" -E -x c++ - -v </dev/null 2>&1 \
    | sed -n '/#include <...> search starts here:/,/End of search list./p' \
    | sed '1d;$d' | while read -r dir; do
      printf -- '--extra-arg=-isystem%s\n' "$(realpath "$dir")"
    done
}

echo "clang-format: ${#sources[@]} files"
clang-format --dry-run -Werror "${sources[@]}" || status=1

echo "cppcheck: $((${#portable[@]} + ${#windows[@]})) files"
cppcheck --quiet --error-exitcode=1 --std=c++20 --language=c++ \
  --enable=warning,performance,portability --inline-suppr \
  -I . -I tests/e2e "${portable[@]}" "${windows[@]}" || status=1

native_build=build/native
if [[ -f $native_build/compile_commands.json ]]; then
  echo "clang-tidy (native): ${#portable[@]} files"
  tidy "$native_build" -- "${portable[@]}" || status=1
else
  echo "clang-tidy: no $native_build/compile_commands.json (build the native preset first)"
  status=1
fi

windows_build=build/windows-i686
if [[ -f $windows_build/compile_commands.json ]]; then
  echo "clang-tidy (windows-i686): ${#windows[@]} files"
  mapfile -t include_args < <(mingw_include_args i686-w64-mingw32-g++)
  tidy "$windows_build" --extra-arg=--target=i686-w64-mingw32 \
    --extra-arg=-nostdinc++ "${include_args[@]}" -- "${windows[@]}" || status=1
else
  echo "clang-tidy: no $windows_build/compile_commands.json (build the windows-i686 preset first)"
  status=1
fi
exit $status
