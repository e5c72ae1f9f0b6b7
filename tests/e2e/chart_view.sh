# Sourced by the chart windows' desktop tests (after viewer.sh): the cursor,
# zoom and marks of a chart window through the real pointer and keys, each
# picture held against pidpage's.

# pidpage's chart, as $chart_args and the options given ask for it, cut to
# the client area, in $1.
expected_chart() {
  local out=$1; shift
  "$pidpage" "${chart_args[0]}" "$work/chart-view.png" "$@" "${chart_args[@]:1}"
  convert "$work/chart-view.png" -crop 794x496+0+0 +repage "$out"
}

# Whether two pictures differ only on the plot (x 50 to 620, y 80 to $3) and
# the readout's row above it.
same_off_plot() {
  local f
  for f in "$1" "$2"; do
    convert "$f" -fill white -draw "rectangle 50,80 620,$3" -draw "rectangle 112,56 776,71" "$f.off-plot.png"
  done
  [ "$(differing_pixels "$1.off-plot.png" "$2.off-plot.png")" = 0 ]
}

# check_chart_view TITLE PLOT_BOTTOM HALF MODE FILE...: in the window titled
# TITLE, whose plot ends at y = PLOT_BOTTOM and which pidpage MODE OUT.png
# FILE... draws, the pointer shows the cursor and readout on the plot only;
# a wheel notch at the plot's left edge halves the range from 0, after which
# the window (the pointer gone from the plot) equals pidpage --time 0:HALF; a
# double click gives the plain chart back; its copy holds the chart zoomed. Then the keys alone: → shows the
# cursor, + zooms to the same half, Esc takes the cursor away, Ctrl+Home
# gives the plain chart back, 表示 > 特性の目印 equals pidpage --marks. The
# window stays open.
check_chart_view() {
  local pattern=$1 title=${1//[\\^]/} bottom=$2 half=$3 window count
  shift 3
  chart_args=("$@")
  window=$(xdotool search --onlyvisible --name "$pattern" | head -1)
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local cx=$X cy=$((Y + HEIGHT - 496))
  expected_chart "$work/plain.png"
  expected_chart "$work/half.png" --time "0:$half"
  expected_chart "$work/marked.png" --marks
  xdotool windowfocus --sync "$window"

  xdotool mousemove $((cx + 300)) $((cy + 150))
  sleep 0.5
  client_shot "$work/cursor.png" "$window"
  [ "$(differing_pixels "$work/cursor.png" "$work/plain.png")" != 0 ] && same_off_plot "$work/cursor.png" "$work/plain.png" "$bottom" \
    && pass "$title: the pointer draws the cursor and its readout, on the plot and the readout's row only" \
    || fail "$title: no cursor, or a change off the plot"
  xdotool mousemove $((cx + 50)) $((cy + 150)) sleep 0.2 click 4 sleep 0.2 mousemove $((cx + 700)) $((cy + 450))
  count=$(wait_for_page "$work/half.png" "$window")
  [ "$count" = 0 ] && pass "$title: a wheel notch shows what pidpage --time 0:$half draws" \
    || fail "$title: zoomed, it differs from pidpage --time 0:$half ($count pixels)"
  # Its copy holds the chart as shown: the whole of pidpage's picture.
  xdotool key ctrl+c
  sleep 0.3
  xclip -selection clipboard -t image/png -o >"$work/copied.png" 2>/dev/null || true
  "$pidpage" "${chart_args[0]}" "$work/whole-half.png" --time "0:$half" "${chart_args[@]:1}"
  [ "$(differing_pixels "$work/copied.png" "$work/whole-half.png")" = 0 ] \
    && pass "$title: the copy's picture is the zoomed chart" || fail "$title: the copy's picture is not the zoomed chart"
  xdotool mousemove $((cx + 300)) $((cy + 150)) sleep 0.2 click --repeat 2 --delay 80 1 sleep 0.2 \
    mousemove $((cx + 700)) $((cy + 450))
  count=$(wait_for_page "$work/plain.png" "$window")
  [ "$count" = 0 ] && pass "$title: a double click gives the plain chart back" \
    || fail "$title: after a double click it differs from the plain chart ($count pixels)"

  xdotool key Right KP_Add
  sleep 0.5
  client_shot "$work/keys.png" "$window"
  xdotool key Escape
  count=$(wait_for_page "$work/half.png" "$window")
  [ "$count" = 0 ] && [ "$(differing_pixels "$work/keys.png" "$work/half.png")" != 0 ] \
    && pass "$title: → shows the cursor, + zooms to the same half, Esc takes the cursor away" \
    || fail "$title: the keys' zoom differs from pidpage --time 0:$half ($count pixels)"
  xdotool key ctrl+Home
  count=$(wait_for_page "$work/plain.png" "$window")
  [ "$count" = 0 ] && pass "$title: Ctrl+Home gives the plain chart back" || fail "$title: Ctrl+Home ($count pixels)"
  xdotool key alt+v
  sleep 0.3
  xdotool key m
  count=$(wait_for_page "$work/marked.png" "$window")
  [ "$count" = 0 ] && pass "$title: 表示 > 特性の目印 draws what pidpage --marks draws" \
    || fail "$title: the marks differ from pidpage --marks ($count pixels)"
}
