# Sourced by the desktop tests: starts a private Xvfb server on a free display
# and stops it when the sourcing script exits.
start_xvfb() {
  local displayfile display
  displayfile=$(mktemp)
  # The server picks a free display itself and writes its number once it
  # takes connections: two tests starting at once cannot share a display.
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  XVFB_PID=$!
  for _ in $(seq 100); do
    if read -r display <"$displayfile" && [ -n "$display" ]; then
      rm -f "$displayfile"
      export DISPLAY=":${display}"
      trap stop_xvfb EXIT
      return 0
    fi
    kill -0 "$XVFB_PID" 2>/dev/null || break
    sleep 0.1
  done
  rm -f "$displayfile"
  echo "xvfb.sh: cannot start Xvfb" >&2
  return 1
}

# Safe before the server has started and when called twice.
stop_xvfb() {
  [ -n "${XVFB_PID:-}" ] || return 0
  kill "$XVFB_PID" 2>/dev/null || true
  wait "$XVFB_PID" 2>/dev/null || true
  XVFB_PID=
}
