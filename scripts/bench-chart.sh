#!/usr/bin/env bash
# Draws the benchmark's table as a chart:  bench-chart.sh CSV PNG [NOTE]
#
# Frames per second by crowd size, one line per skinning mode, lighting off
# and lighting on side by side; NOTE (for example the machine) goes under the
# title. Columns are found by their names in the header: mode, lighting,
# characters and fps, and crowd when present, whose out-of-step runs get
# dashed lines of their own beside the in-step ones.
set -euo pipefail
if [ $# -lt 2 ]; then
  echo "usage: $0 CSV PNG [NOTE]" >&2
  exit 2
fi
csv=$1
png=$2
note=${3:-}

work=$(mktemp -d "${TMPDIR:-/tmp}/bench-chart.XXXXXX")
trap 'rm -rf "$work"' EXIT

# One file per lighting, mode and crowd, "characters fps" per line, named
# <lighting>.<mode>.<crowd>.dat; the crowd sizes go to sizes.txt and the
# highest frame rate to highest.txt.
awk -F, -v work="$work" '
  NR == 1 {
    for (i = 1; i <= NF; ++i) column[$i] = i
    split("mode lighting characters fps", needed, " ")
    for (i in needed)
      if (!(needed[i] in column)) {
        printf "%s: no column \"%s\" in the header\n", FILENAME, needed[i] > "/dev/stderr"
        exit 1
      }
    next
  }
  {
    crowd = ("crowd" in column) ? $column["crowd"] : "in-step"
    file = work "/" $column["lighting"] "." $column["mode"] "." crowd ".dat"
    sorted = "sort -n > \"" file "\""
    print $column["characters"], $column["fps"] | sorted
    sorts[sorted] = 1
    sizes[$column["characters"]] = 1
    if ($column["fps"] + 0 > highest) highest = $column["fps"] + 0
  }
  END {
    for (sorted in sorts) close(sorted)
    for (size in sizes) print size > (work "/sizes.txt")
    print highest > (work "/highest.txt")
  }
' "$csv"
if [ ! -s "$work/sizes.txt" ]; then
  echo "$csv: no runs to draw" >&2
  exit 1
fi

# The crowd sizes mark the x axis, which spans a little more than them; both
# panels share the y axis, so that lighting off and on compare at a glance.
sizes=$(sort -n "$work/sizes.txt" | paste -sd' ')
smallest=${sizes%% *}
largest=${sizes##* }

# Each mode keeps its colour in both panels; out-of-step runs are dashed.
declare -A colour=([hardware]="#1b9e77" [engine]="#d95f02" [none]="#7570b3")
panel() {
  local lighting=$1 plots="" file mode crowd label dashes
  for mode in hardware engine none; do
    for crowd in in-step out-of-step; do
      file=$work/$lighting.$mode.$crowd.dat
      [ -e "$file" ] || continue
      label=$mode dashes="dt 1 pt 7"
      [ "$crowd" = in-step ] || label="$mode, out of step" dashes="dt 2 pt 6"
      plots+="${plots:+, }'$file' using 1:2 with linespoints lc rgb '${colour[$mode]}' lw 2 ps 1.3 $dashes title '$label'"
    done
  done
  echo "set title 'Lighting $lighting'"
  if [ -n "$plots" ]; then
    echo "plot $plots"
  else
    echo "set label 1 'no runs' at graph 0.5, 0.5 center; plot NaN notitle; unset label 1"
  fi
}

gnuplot <<EOF
set terminal pngcairo size 1200,520 font "DejaVu Sans,11"
set output "$png"
set datafile separator " "
set logscale x 2
set xrange [$smallest / 1.5 : $largest * 1.5]
set xtics ($(sed 's/ /, /g' <<<"$sizes"))
set yrange [0:$(cat "$work/highest.txt") * 1.15 + 1]
set grid ytics
set xlabel "characters in the crowd"
set ylabel "frames per second"
set key top right box opaque
set multiplot layout 1,2 title "Frame rate by skinning mode${note:+\\n$note}"
$(panel off)
$(panel on)
unset multiplot
EOF
