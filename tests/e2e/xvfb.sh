# Sourced by the desktop tests: starts a private Xvfb server on a free display
# and stops it when the sourcing script exits.
start_xvfb() {
  local display
  for display in $(seq 90 140); do
    [ -e "/tmp/.X${display}-lock" ] && continue
    Xvfb ":${display}" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
    XVFB_PID=$!
    for _ in $(seq 50); do
      if xdpyinfo -display ":${display}" >/dev/null 2>&1 || [ -e "/tmp/.X11-unix/X${display}" ]; then
        export DISPLAY=":${display}"
        trap stop_xvfb EXIT
        return 0
      fi
      kill -0 "$XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "xvfb.sh: cannot start Xvfb" >&2
  return 1
}

stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] && kill "$XVFB_PID" 2>/dev/null
  wait "$XVFB_PID" 2>/dev/null || true
}
