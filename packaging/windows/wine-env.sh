# Sourced by the scripts that run the Windows build under Wine: a Wine prefix
# of its own in the cache, made once, with Wine's fonts installed (without
# them line edits draw no text), and a virtual display.
#   wine_prefix_ready   makes the prefix where it is missing
#   start_display       starts Xvfb on a free display number, exports DISPLAY
#                       (stop_display ends it; call it from an EXIT trap)
wine=/usr/lib/wine/wine64
export WINEPREFIX=${WINEPREFIX:-$TERVELA_WINDOWS_CACHE/wine}
export WINEDEBUG=${WINEDEBUG:--all}
# Neither .NET nor the HTML engine is wanted; Wine would offer to fetch them.
export WINEDLLOVERRIDES="mscoree,mshtml="

wine_prefix_ready() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    # The 32-bit half of the set-up fails without wine32; the 64-bit prefix works.
    "$wine" wineboot --init >/dev/null 2>&1 || true
    /usr/lib/wine/wineserver -w
  fi
  mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
  cp -u /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
}

display_pid=
start_display() {
  local number=90
  while [ -e "/tmp/.X$number-lock" ]; do number=$((number + 1)); done
  Xvfb ":$number" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  display_pid=$!
  export DISPLAY=":$number"
  sleep 1
}
stop_display() {
  if [ -n "$display_pid" ]; then kill "$display_pid" 2>/dev/null || true; fi
}
