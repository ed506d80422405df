#!/usr/bin/env bash
# Sets up a Debian machine for Les KORVELAN, builds it, then starts the program or runs every test.
#   bash tools/build.sh run    install what is missing, build, start the program
#   bash tools/build.sh test   install what is missing, build (also with the sanitizers), run all tests
set -euo pipefail
cd "$(dirname "$0")/.."
mode=${1:-}
case "$mode" in run|test) ;; *) echo "usage: $0 run|test" >&2; exit 2 ;; esac

packages=(cmake ninja-build g++ qt6-base-dev qt6-translations-l10n libbenchmark-dev python3
          fonts-liberation2 fonts-dejavu-core fonts-crosextra-carlito
          xvfb xauth xdotool x11-utils imagemagick
          dpkg-dev file desktop-file-utils appstream lintian
          dbus at-spi2-core python3-gi gir1.2-atspi-2.0)
missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' || missing+=("$package")
done
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq "${missing[@]}"
fi

jobs=$(nproc)
build() { # folder, extra cmake options...
  local dir=$1; shift
  cmake -S . -B "$dir" -G Ninja "$@" > /dev/null
  cmake --build "$dir" --parallel "$jobs"
}

if [[ $mode == run ]]; then
  build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
  # The program reads its documents from the folder it starts in: the one that holds it.
  cd build/startup
  exec ./korvelan
fi

build build -DCMAKE_BUILD_TYPE=RelWithDebInfo
build build-sanitize -DCMAKE_BUILD_TYPE=Debug -DKORVELAN_SANITIZE=ON -DKORVELAN_BENCH=OFF
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tools/lsan.supp
status=0
echo "== Tests =="
(cd build && ctest --output-on-failure --parallel "$jobs") || status=1
echo "== Tests with AddressSanitizer and UndefinedBehaviorSanitizer =="
(cd build-sanitize && ctest --output-on-failure --parallel "$jobs") || status=1
exit $status
