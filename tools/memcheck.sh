#!/usr/bin/env bash
# Runs the program under valgrind's memcheck through a scripted session (start, every page, every
# option, suggestions, searches, quit) on its own Xvfb display, then sums up what memcheck reported.
# The toolkit's and the system libraries' own reports are suppressed by tools/valgrind.supp; processes
# forked by the libraries (the D-Bus autolaunch when there is no session bus) are not followed.
#   bash tools/memcheck.sh [build folder]     default: build; the full log goes to <build>/memcheck.log
# Takes a few minutes. Needs valgrind (apt-get install valgrind).
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
command -v valgrind > /dev/null || { echo "valgrind is not installed: apt-get install valgrind" >&2; exit 2; }
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build "$dir" --parallel "$(nproc)" --target korvelan korvelan_documents > /dev/null

log=$PWD/$dir/memcheck.log
python3 tools/session.py --full --slow 12 \
  --wrap "valgrind --tool=memcheck --leak-check=full --show-leak-kinds=definite --errors-for-leak-kinds=definite
          --num-callers=30 --child-silent-after-fork=yes --suppressions=$PWD/tools/valgrind.supp --gen-suppressions=all --log-file=$log" \
  "$dir/startup/korvelan"

echo "== memcheck summary ($log)"
grep -E "ERROR SUMMARY|definitely lost|indirectly lost|possibly lost|still reachable|suppressed:" "$log" | sed 's/^==[0-9]*== //'
invalid=$(grep -cE "Invalid (read|write|free)|uninitialised|Mismatched free" "$log" || true)
definite=$(grep -cE "are definitely lost" "$log" || true)
echo "invalid accesses or uses of uninitialised values: $invalid; definite leak records: $definite"
[[ $invalid == 0 && $definite == 0 ]]
