#!/usr/bin/env bash
# Memory and idle cost of the real program on its own Xvfb display: starts it under /usr/bin/time -v,
# waits for its main window, measures the CPU time it takes over 10 idle seconds, searches a word and
# quits through the question box; prints the peak resident memory.
#   bash tools/measure.sh [program]     default: build/startup/korvelan (built if missing)
set -euo pipefail
cd "$(dirname "$0")/.."
program=${1:-build/startup/korvelan}
if [[ $# == 0 ]]; then
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
  cmake --build build --parallel "$(nproc)" --target korvelan korvelan_documents > /dev/null
fi
[[ -x /usr/bin/time ]] || { echo "/usr/bin/time is missing: apt-get install time" >&2; exit 2; }
report=$(mktemp)
trap 'rm -f "$report"' EXIT
python3 tools/session.py --idle 10 --wrap "/usr/bin/time -v -o $report" "$program"
peak=$(awk -F': ' '/Maximum resident set size/ {print $2}' "$report")
echo "peak resident memory: $peak kB ($((peak / 1024)) MB)"
