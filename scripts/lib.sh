# Shared by the scripts: the project's Wine environment and a private X
# display. Source it; call stop_started at exit.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX="$root/build/wineprefix"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="mscoree,mshtml="
started_xvfb=""

# Starts Xvfb on the first free display and exports DISPLAY.
start_display() {
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    started_xvfb=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      sleep 0.1
    done
    export DISPLAY=":$n"
    return 0
  done
  echo "no free X display" >&2
  return 1
}

# Stops what this script started: the display and the prefix's wineserver.
stop_started() {
  wineserver -k >/dev/null 2>&1 || true
  if [ -n "$started_xvfb" ]; then
    kill "$started_xvfb" >/dev/null 2>&1 || true
    wait "$started_xvfb" 2>/dev/null || true
    started_xvfb=""
  fi
}
