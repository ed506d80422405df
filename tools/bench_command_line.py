#!/usr/bin/env python3
"""Times the program answering on a terminal, as a whole process: start, Qt, data, card, exit.

usage: python3 tools/bench_command_line.py [korvelan executable] [runs]
       default: build/startup/korvelan, 51 runs of each command

Each command runs with no display in its environment and its output thrown away; the script prints the
median, fastest and slowest wall-clock time of each, in milliseconds. A few runs first warm the caches.
"""
import os
import statistics
import subprocess
import sys
import time

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
COMMANDS = (["--fiche", "E950"], ["--version"], ["--export", "json"],
            ["--etiquette", "Sucre, émulsifiant : lécithines de SOJA, acidifiant : E 330, colorant : caramel ordinaire"])


def times(program, args, runs, env):
    for _ in range(3):
        subprocess.run([program, *args], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
    result = []
    for _ in range(runs):
        start = time.perf_counter()
        subprocess.run([program, *args], env=env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL, check=True)
        result.append((time.perf_counter() - start) * 1000)
    return result


def main():
    program = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "startup", "korvelan")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 51
    env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM")}
    for args in COMMANDS:
        t = times(program, args, runs, env)
        shown = "--etiquette TEXTE" if args[0] == "--etiquette" else " ".join(args)
        print(f"korvelan {shown:<16} median {statistics.median(t):6.1f} ms   "
              f"fastest {min(t):6.1f} ms   slowest {max(t):6.1f} ms   ({runs} runs)")


if __name__ == "__main__":
    main()
