# shellcheck shell=bash
# The Wine environment that running and testing QiroUlvane needs, made
# idempotently: a private prefix whose default desktop is a 1024x700 virtual
# desktop (title bars, a task bar and a notification area), a generated
# zh_CN.UTF-8 locale so that Wine's ANSI code page is 936, and an X display
# (Xvfb when there is none). Sourced, not run:
#
#   source scripts/wine-env.sh
#   qiro_env_setup || exit 1     # everything, and cleanup on exit
#
# Every step that waits has a timeout and says what it waited for. Where the
# files live can be moved with QIRO_WINE_DIR (default build/wine in the
# repository); nothing is written to $HOME.

qiro_env_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The virtual desktop's size: the program centres itself on this screen.
QIRO_DESKTOP_WIDTH=1024
QIRO_DESKTOP_HEIGHT=700

qiro_say() { echo "wine-env: $*" >&2; }

# Where the prefix and the locale live, and the variables every Wine call
# of ours runs with.
qiro_env_paths() {
  QIRO_WINE_DIR=${QIRO_WINE_DIR:-$qiro_env_root/build/wine}
  export WINEPREFIX=$QIRO_WINE_DIR/prefix
  export LOCPATH=$QIRO_WINE_DIR/locale
  # No Mono or Gecko installer prompts: the program needs neither.
  export WINEDLLOVERRIDES=mscoree,mshtml=
  export WINEDEBUG=${WINEDEBUG:-fixme-all}
  # LC_ALL would override LANG and so the code page.
  unset LC_ALL
  export LANG=zh_CN.UTF-8
}

qiro_require_tools() {
  local tool missing=()
  for tool in wine wineserver timeout "$@"; do
    command -v "$tool" >/dev/null 2>&1 || missing+=("$tool")
  done
  if ((${#missing[@]} > 0)); then
    qiro_say "missing: ${missing[*]}. Install the packages with scripts/install-deps.sh (as root)."
    return 1
  fi
  if [[ ! -x /usr/lib/wine/wine ]] && ! command -v wine32 >/dev/null 2>&1; then
    # Debian's wine wrapper falls back to wine64, which cannot run the
    # 32-bit exe.
    if ! dpkg-query -W -f='${Status}' wine32:i386 2>/dev/null | grep -q 'install ok installed'; then
      qiro_say "wine32:i386 is missing, so 32-bit programs cannot run. Install it with scripts/install-deps.sh (as root)."
      return 1
    fi
  fi
}

# zh_CN.UTF-8 in a private LOCPATH: the system's own locales stay untouched.
qiro_make_locale() {
  [[ -f $LOCPATH/zh_CN.UTF-8/LC_CTYPE ]] && return 0
  if ! command -v localedef >/dev/null 2>&1 || [[ ! -f /usr/share/i18n/locales/zh_CN ]]; then
    qiro_say "cannot generate zh_CN.UTF-8: localedef or /usr/share/i18n/locales/zh_CN is missing (package locales)."
    return 1
  fi
  mkdir -p "$LOCPATH"
  # localedef warns about the source's style and then still writes the
  # locale; whether the locale is there is what counts.
  timeout 120 localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8" >/dev/null 2>&1
  if [[ ! -f $LOCPATH/zh_CN.UTF-8/LC_CTYPE ]]; then
    qiro_say "localedef did not produce $LOCPATH/zh_CN.UTF-8: Wine would run with code page 1252."
    return 1
  fi
}

# Chinese texts show as boxes without a CJK font.
qiro_require_cjk_font() {
  if command -v fc-list >/dev/null 2>&1 &&
    fc-list :lang=zh family 2>/dev/null | grep -qi 'WenQuanYi Micro Hei'; then
    return 0
  fi
  [[ -f /usr/share/fonts/truetype/wqy/wqy-microhei.ttc ]] && return 0
  qiro_say "no CJK font (WenQuanYi Micro Hei): Chinese texts would not render. Install fonts-wqy-microhei."
  return 1
}

qiro_display_ready() {
  DISPLAY=$1 timeout 5 xdotool getdisplaygeometry >/dev/null 2>&1
}

# The lowest display number without a lock file or socket.
qiro_free_display() {
  local n
  for ((n = 90; n < 200; n++)); do
    [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] || {
      echo ":$n"
      return 0
    }
  done
  return 1
}

# Uses $DISPLAY when it answers; with none, starts Xvfb and waits until it
# takes clients. QIRO_XVFB_PID is set when the server is ours.
qiro_start_display() {
  command -v xdotool >/dev/null 2>&1 || {
    qiro_say "xdotool is missing (package xdotool)."
    return 1
  }
  if [[ -n ${DISPLAY:-} ]]; then
    qiro_display_ready "$DISPLAY" && return 0
    qiro_say "DISPLAY=$DISPLAY does not answer; unset DISPLAY to run on a private Xvfb."
    return 1
  fi
  command -v Xvfb >/dev/null 2>&1 || {
    qiro_say "no display possible: DISPLAY is unset and Xvfb is missing (package xvfb)."
    return 1
  }
  local display attempt
  for attempt in 1 2 3; do
    display=$(qiro_free_display) || {
      qiro_say "no display possible: no free X display number between :90 and :199."
      return 1
    }
    # Larger than the virtual desktop, which sits at the screen's top left.
    Xvfb "$display" -screen 0 1280x800x24 -nolisten tcp -noreset \
      >"$QIRO_WINE_DIR/xvfb.log" 2>&1 &
    QIRO_XVFB_PID=$!
    local waited
    for ((waited = 0; waited < 100; waited++)); do
      if ! kill -0 "$QIRO_XVFB_PID" 2>/dev/null; then
        break # lost the race for that number, or Xvfb failed
      fi
      if qiro_display_ready "$display"; then
        export DISPLAY=$display
        return 0
      fi
      sleep 0.1
    done
    kill "$QIRO_XVFB_PID" 2>/dev/null
    wait "$QIRO_XVFB_PID" 2>/dev/null
    unset QIRO_XVFB_PID
    qiro_say "Xvfb on $display did not take clients within 10 s (attempt $attempt); $(tail -n 3 "$QIRO_WINE_DIR/xvfb.log" 2>/dev/null | tr '\n' ' ')"
  done
  qiro_say "no display possible: Xvfb did not start. See $QIRO_WINE_DIR/xvfb.log."
  return 1
}

# The registry values the prefix needs: the virtual desktop as every
# program's default, and the relay filter that makes the process calls of
# one traced program observable (inert unless WINEDEBUG=+relay).
qiro_prefix_settings() {
  cat <<EOF
REGEDIT4

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer]
"Desktop"="shell"

[HKEY_CURRENT_USER\\Software\\Wine\\Explorer\\Desktops]
"shell"="${QIRO_DESKTOP_WIDTH}x${QIRO_DESKTOP_HEIGHT}"

[HKEY_CURRENT_USER\\Software\\Wine\\Debug]
"RelayInclude"="kernel32.SetProcessWorkingSetSize;kernel32.OpenProcess;kernel32.SetPriorityClass;kernel32.CloseHandle;kernel32.CreateToolhelp32Snapshot"
EOF
}

qiro_prefix_configured() {
  [[ -f $WINEPREFIX/user.reg ]] &&
    grep -q "^\"shell\"=\"${QIRO_DESKTOP_WIDTH}x${QIRO_DESKTOP_HEIGHT}\"" "$WINEPREFIX/user.reg" &&
    grep -q '^"RelayInclude"="kernel32.SetProcessWorkingSetSize;' "$WINEPREFIX/user.reg"
}

qiro_prefix_made() { [[ -f $WINEPREFIX/system.reg && -d $WINEPREFIX/drive_c/windows ]]; }

# Makes the prefix when it is new, sets its registry values when they are
# missing, and leaves a ready one alone (no Wine process is started then).
qiro_make_prefix() {
  mkdir -p "$QIRO_WINE_DIR"
  if ! qiro_prefix_made; then
    qiro_say "making a new Wine prefix in $WINEPREFIX (once; 20-60 s)"
    if ! timeout 300 wineboot -i >"$QIRO_WINE_DIR/wineboot.log" 2>&1; then
      qiro_say "the Wine prefix was not made: wineboot -i failed or took over 300 s. See $QIRO_WINE_DIR/wineboot.log."
      return 1
    fi
    # The server writes the new registry to disk when it ends.
    timeout 120 wineserver -w
    if ! qiro_prefix_made; then
      qiro_say "the Wine prefix was not made: $WINEPREFIX has no system.reg after wineboot. See $QIRO_WINE_DIR/wineboot.log."
      return 1
    fi
  fi
  qiro_prefix_configured && return 0
  qiro_prefix_settings >"$QIRO_WINE_DIR/settings.reg"
  if ! timeout 120 wine regedit /S "$(winepath -w "$QIRO_WINE_DIR/settings.reg")" >>"$QIRO_WINE_DIR/wineboot.log" 2>&1; then
    qiro_say "could not write the prefix's registry values (wine regedit failed or took over 120 s). See $QIRO_WINE_DIR/wineboot.log."
    return 1
  fi
  # The server writes the registry to disk when it ends; wait for that, so
  # that the next run finds the values and starts nothing to set them.
  timeout 60 wineserver -w
}

# Wine's background services must be up before a program is traced with
# +relay (tracing one of them while it starts can hang it). Starting any
# program brings them up; -p keeps the server for the session.
qiro_start_services() {
  timeout 60 wineserver -p || true
  if ! WINEDEBUG=-all timeout 120 wine cmd.exe /c exit 0 >/dev/null 2>&1; then
    qiro_say "Wine did not run a trivial program within 120 s: the prefix $WINEPREFIX may be broken (remove it to have it made anew)."
    return 1
  fi
}

qiro_env_cleanup() {
  if [[ -n ${WINEPREFIX:-} ]] && command -v wineserver >/dev/null 2>&1; then
    timeout 30 wineserver -k 2>/dev/null || true
  fi
  if [[ -n ${QIRO_XVFB_PID:-} ]]; then
    kill "$QIRO_XVFB_PID" 2>/dev/null || true
    wait "$QIRO_XVFB_PID" 2>/dev/null || true
    unset QIRO_XVFB_PID
  fi
}

# Everything above in order; cleans up on exit. Extra arguments are more
# tools that the caller needs.
qiro_env_setup() {
  qiro_env_paths
  mkdir -p "$QIRO_WINE_DIR"
  qiro_require_tools winepath "$@" || return 1
  qiro_require_cjk_font || return 1
  qiro_make_locale || return 1
  trap qiro_env_cleanup EXIT
  trap 'exit 130' INT
  trap 'exit 143' TERM
  qiro_start_display || return 1
  qiro_make_prefix || return 1
  qiro_start_services || return 1
}
