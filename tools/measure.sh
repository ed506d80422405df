#!/usr/bin/env bash
# Memory and idle cost of the real program on its own Xvfb display: starts it under /usr/bin/time -v,
# waits for its main window, measures the CPU time it takes over 10 idle seconds, visits every page
# (lists, options, suggestions, searches) and quits through the question box; then does the same for a
# bare window of the toolkit of the same size (tools/bare_window.cpp), and prints both peaks of resident
# memory side by side.
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
# The bare window is built with the same toolkit and the same optimisation as the program.
c++ -std=c++20 -O2 -fPIC tools/bare_window.cpp -o "$work/bare_window" $(pkg-config --cflags --libs Qt6Widgets)

python3 tools/session.py --idle 10 --full --wrap "/usr/bin/time -v -o $work/program" "$program"
python3 tools/session.py --idle 10 --full --bare "Fenêtre nue" --wrap "/usr/bin/time -v -o $work/bare" \
  "$work/bare_window"
peak() { awk -F': ' '/Maximum resident set size/ {print $2}' "$1"; }
program_peak=$(peak "$work/program")
bare_peak=$(peak "$work/bare")
echo "peak resident memory: program $program_peak kB ($((program_peak / 1024)) MB)," \
  "bare window $bare_peak kB ($((bare_peak / 1024)) MB), difference $(((program_peak - bare_peak) / 1024)) MB"
