#!/usr/bin/env bash
# Builds the benchmarks (optimised, with debug information) and runs every one of them, then prints one
# table of the figures beside their targets. Each Google Benchmark figure is the median of 5 runs.
#   bash tools/bench.sh [build folder]     default: build
set -euo pipefail
cd "$(dirname "$0")/.."
dir=${1:-build}
cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKORVELAN_BENCH=ON > /dev/null
cmake --build "$dir" --parallel "$(nproc)" --target bench_data bench_rules bench_rtf bench_window bench_labels bench_startup korvelan > /dev/null

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
export QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$out
for bench in bench_data bench_rules bench_rtf bench_window bench_labels; do
  echo "running $bench..." >&2
  "$dir/bench/$bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
    --benchmark_format=json --benchmark_out="$out/$bench.json" --benchmark_out_format=json > /dev/null 2>&1
done
echo "running bench_startup..." >&2
"$dir/bench/bench_startup" > "$out/startup.txt" 2>/dev/null
echo "running the program on the command line..." >&2
python3 tools/bench_command_line.py "$dir/startup/korvelan" > "$out/command_line.txt"

python3 - "$out" <<'PY'
import json, os, re, sys

out = sys.argv[1]
median = {}
for name in ("bench_data", "bench_rules", "bench_rtf", "bench_window", "bench_labels"):
    with open(os.path.join(out, name + ".json")) as f:
        for b in json.load(f)["benchmarks"]:
            if b.get("aggregate_name") == "median":
                scale = {"ns": 1e-6, "us": 1e-3, "ms": 1.0, "s": 1e3}[b["time_unit"]]
                median[(name, b["run_name"])] = b["real_time"] * scale  # milliseconds

def ms(bench, run):
    return median[(bench, run)]

startup = open(os.path.join(out, "startup.txt")).read()
runs = [line.split() for line in startup.splitlines() if re.match(r"^\d+\s", line)]
splash = [int(r[7]) for r in runs]
total = [int(r[9]) for r in runs]
med = re.search(r"splash chain (\d+) ms, main window (\d+) ms, in all (\d+) ms", startup)
command_line = open(os.path.join(out, "command_line.txt")).read()
def process_ms(command):
    return float(re.search(re.escape(command) + r" +median +([\d.]+) ms", command_line).group(1))
fiche, version = process_ms("korvelan --fiche E950"), process_ms("korvelan --version")
label = process_ms("korvelan --etiquette TEXTE")

db, db_copy = ms("bench_data", "BM_LoadDatabase"), ms("bench_data", "BM_CopyDatabaseBytes")
kw, kw_copy = ms("bench_data", "BM_LoadKeywords"), ms("bench_data", "BM_CopyKeywordBytes")
def under(label, bench, run, limit_ms, beside="", per=1, micro=False):
    """A row for a figure that must stay under a limit, in ms (or shown in µs)."""
    value = ms(bench, run) / per
    shown = f"{value * 1000:.1f} µs" if micro else f"{value:.3f} ms" if value < 1 else f"{value:.2f} ms"
    limit = f"< {limit_ms * 1000:g} µs" if micro else f"< {limit_ms:g} ms"
    return (label, shown, beside, limit, value < limit_ms)

def paste_row():
    """A paste of 32,767 arbitrary characters, less what the same paste into a bare field costs."""
    whole = ms("bench_window", "BM_PasteArbitrary32767")
    bare = ms("bench_window", "BM_PasteArbitrary32767IntoBareField")
    return ("Paste of 32,767 characters, beyond a bare field", f"{whole - bare:.1f} ms",
            f"{whole:.1f} ms in all", "< 100 ms", whole - bare < 100)

def costliest_document_row():
    """The slowest of the hostile documents to read and lay out; two of them open at once."""
    costs = {run.split("/", 1)[1]: value for (bench, run), value in median.items()
             if bench == "bench_rtf" and run.startswith("BM_CostlyDocument/")}
    worst = max(costs, key=costs.get)
    return ("Costliest document, read and laid out", f"{costs[worst]:.1f} ms", worst,
            "< 500 ms (two < 1 s)", costs[worst] < 500)

rows = [
    ("Database load (138,948 bytes)", f"{db * 1000:.1f} µs", f"copy {db_copy * 1000:.1f} µs, {db / db_copy:.0f}×",
     "≤ 1 ms and ≤ 20× the copy", db <= 1 and db / db_copy <= 20),
    ("Keyword load (12,300 bytes)", f"{kw * 1000:.1f} µs", f"copy {kw_copy * 1000:.2f} µs", "≤ 0.3 ms", kw <= 0.3),
    under("ListLine, all 692 records", "bench_rules", "BM_ListLinesOfAllRecords", 0.5),
    under("Filling both lists (window)", "bench_window", "BM_FillBothLists", 15),
    under("Flag list of 405 rows (rules)", "bench_rules", "BM_FlagListOf405Rows", 5),
    under("Flag list of 405 rows (window)", "bench_window", "BM_LargestFlagList", 5),
    under("Selection to coloured panel", "bench_window", "BM_SelectionToColouredPanel", 1),
    under("Keystroke to suggestions (e → e1)", "bench_window", "BM_KeystrokeToSuggestions", 3, "per keystroke", per=2),
    under("SuggestKeywords e1 (167 words)", "bench_rules", "BM_SuggestE1", 0.02, micro=True),
    under("Search acide (rules)", "bench_rules", "BM_SearchAcide", 3),
    under("Search acide (window, rows and panel)", "bench_window", "BM_SearchAcide", 3),
    under("SortHistory, 1,000 words", "bench_rules", "BM_SortHistoryOf1000Words", 30),
    under("Label of 2 KB read (rules)", "bench_labels", "BM_AnalyseLabel2K", 1),
    under("RTF, 100 KB document", "bench_rtf", "BM_LongDocument", 20),
    under("RTF, the two documents' sizes", "bench_rtf", "BM_TwoShippedSizedDocuments", 5),
    paste_row(),
    costliest_document_row(),
    ("Start-up: splash chain beyond its delays", f"{med.group(1)} ms", f"median; worst {max(splash)} ms",
     "< 30 ms", max(splash) < 30),
    ("Start-up: main window shown beyond all delays", f"{med.group(3)} ms", f"median; worst {max(total)} ms",
     "< 50 ms", max(total) < 50),
    ("Whole process: korvelan --fiche E950", f"{fiche:.1f} ms", f"median; --version {version:.1f} ms",
     "< 50 ms", fiche < 50),
    ("Whole process: korvelan --etiquette TEXTE", f"{label:.1f} ms", f"median; --version {version:.1f} ms",
     "< 50 ms", label < 50),
]
widths = [max(len(r[i]) for r in rows + [("Measure", "Time", "Beside", "Target")]) for i in range(4)]
def line(cells):
    return "| " + " | ".join(c.ljust(w) for c, w in zip(cells, widths + [4])) + " |"
print(line(("Measure", "Time", "Beside", "Target", "Met")))
print("|" + "|".join("-" * (w + 2) for w in widths + [4]) + "|")
for r in rows:
    print(line((r[0], r[1], r[2], r[3], "yes" if r[4] else "NO")))
print()
print(startup.rstrip())
print()
print(command_line.rstrip())
sys.exit(0 if all(r[4] for r in rows) else 1)
PY
