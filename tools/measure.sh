#!/usr/bin/env bash
# Memory and idle cost of the real program on its own Xvfb display: starts it under /usr/bin/time -v,
# waits for its main window, measures the CPU time it takes over 10 idle seconds, visits every page
# (lists, options, suggestions, searches) and quits through the question box; then does the same for a
# bare window of the toolkit of the same size (tools/bare_window.cpp), and for that window showing a line
# in each of the program's font faces and one control of each kind the program uses, and prints the
# three peaks of resident memory side by side.
#   bash tools/measure.sh [program]     default: build/startup/korvelan (built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/startup/korvelan}
if [[ $# == 0 ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build build --parallel "$(nproc)" --target korvelan korvelan_documents > /dev/null
fi
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing: apt-get install time" >&2; exit 2; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The yardsticks are built with the same toolkit and the same optimisation as the program.
c++ -std=c++20 -O2 -fPIC tools/bare_window.cpp -o "$work/bare_window" $(pkg-config --cflags --libs Qt6Widgets)

python3 tools/session.py --idle 10 --full --wrap "/usr/bin/time -v -o $work/program" "$program"
python3 tools/session.py --idle 10 --full --bare "Fenêtre nue" --wrap "/usr/bin/time -v -o $work/bare" \
  "$work/bare_window"
BARE_WINDOW_CONTROLS=1 python3 tools/session.py --idle 10 --full --bare "Fenêtre nue" \
  --wrap "/usr/bin/time -v -o $work/controls" "$work/bare_window"
peak() { awk -F': ' '/Maximum resident set size/ {print $2}' "$1"; }
mb() { awk -v kb="$1" 'BEGIN { printf "%.1f MB", kb / 1024 }'; }
program_peak=$(peak "$work/program")
bare_peak=$(peak "$work/bare")
controls_peak=$(peak "$work/controls")
echo "peak resident memory: program $program_peak kB ($(mb "$program_peak")), bare window $bare_peak kB" \
  "($(mb "$bare_peak")), difference $(mb $((program_peak - bare_peak)))"
echo "the bare window showing the program's font faces and kinds of control: $controls_peak kB" \
  "($(mb "$controls_peak")), $(mb $((controls_peak - bare_peak))) above the bare window;" \
  "the program is $(mb $((program_peak - controls_peak))) above it"
