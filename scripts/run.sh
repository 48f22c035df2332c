#!/usr/bin/env bash
# Builds QiroUlvane and runs it under Wine:
#   scripts/run.sh [--screenshot FILE]
# Installs the Debian packages first (scripts/install-deps.sh; needs root on
# a machine that lacks some), builds the windows-i686 preset and starts
# build/windows-i686/app/QiroUlvane.exe on a 1024x700 Wine virtual desktop.
#
# With a DISPLAY the program simply runs there until the user closes it.
# Without one, the script plays the user on a private Xvfb: it waits for the
# start-up notice, takes a screenshot, presses OK, waits for the main window,
# takes a second screenshot (FILE, or build/run/main-window.png), closes the
# window with Esc, presses OK on the closing notice, and exits with the
# program's exit code.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

usage() {
  echo "usage: scripts/run.sh [--screenshot FILE]" >&2
  exit 2
}

screenshot=""
while (($# > 0)); do
  case $1 in
    --screenshot)
      (($# >= 2)) || usage
      screenshot=$2
      shift 2
      ;;
    -h | --help) usage ;;
    *) usage ;;
  esac
done

say() { echo "run: $*" >&2; }

"$root/scripts/install-deps.sh"
cmake --preset windows-i686 >/dev/null
cmake --build --preset windows-i686 -j2

build=$root/build/windows-i686
exe=$build/app/QiroUlvane.exe
remote=$build/tests/e2e/QiroRemote.exe
[[ -f $exe ]] || {
  say "the build did not produce $exe"
  exit 1
}

had_display=${DISPLAY:-}
# shellcheck source=scripts/wine-env.sh
source "$root/scripts/wine-env.sh"
qiro_env_setup xdotool || exit 1

if [[ -n $had_display ]]; then
  say "starting QiroUlvane on $DISPLAY"
  set +e
  wine "$exe"
  code=$?
  set -e
  say "QiroUlvane ended with exit code $code"
  exit "$code"
fi

# No display of our own: drive the program as a user would.
[[ -f $remote ]] || {
  say "the remote control $remote is missing (it is built with QIRO_BUILD_TESTS=ON)"
  exit 1
}
command -v import >/dev/null 2>&1 || {
  say "import is missing (package imagemagick)"
  exit 1
}
shots=$root/build/run
mkdir -p "$shots"
notice_shot=$shots/startup-notice.png
window_shot=${screenshot:-$shots/main-window.png}
mkdir -p "$(dirname "$window_shot")"

remote_do() { wine "$remote" "$@" 2>/dev/null | tr -d '\r'; }

# Grabs the screen once the window has had a moment to paint itself.
grab() {
  sleep 0.5
  import -window root -crop "${QIRO_DESKTOP_WIDTH}x${QIRO_DESKTOP_HEIGHT}+0+0" +repage "$1"
  say "saved a screenshot of $2 in $1"
}

say "starting QiroUlvane on the private display $DISPLAY"
wine "$exe" &
program=$!

stop_program() {
  kill "$program" 2>/dev/null || true
  wait "$program" 2>/dev/null || true
}

if ! remote_do await-notice startup 60; then
  say "the start-up notice did not appear"
  stop_program
  exit 1
fi
grab "$notice_shot" "the start-up notice"
remote_do press-ok startup 10 || {
  stop_program
  exit 1
}
if ! remote_do await-window 10; then
  say "the main window did not appear after OK"
  stop_program
  exit 1
fi
grab "$window_shot" "the main window"

say "closing the window with Esc"
xdotool key Escape
if ! remote_do press-ok closing 10; then
  say "the closing notice did not appear after Esc"
  stop_program
  exit 1
fi
# The program ends by itself after OK; never wait for it forever.
for ((waited = 0; waited < 200; waited++)); do
  kill -0 "$program" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$program" 2>/dev/null; then
  say "QiroUlvane did not end within 20 s after the closing notice"
  stop_program
  exit 1
fi
set +e
wait "$program"
code=$?
set -e
say "QiroUlvane ended with exit code $code"
exit "$code"
