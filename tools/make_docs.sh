#!/bin/sh
# Writes the program's two documents, resources/docs/Resume.rtf (page "Information") and
# resources/docs/Licence.rtf (page "A propos"), from their text sources in resources/docs/src/.
# Run from anywhere: tools/make_docs.sh   (needs python3 only)
#
# With --pdf DIR it also lays both out with LibreOffice into DIR/*.pdf, to look at them:
#   apt-get install -y libreoffice-writer-nogui
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
docs="$root/resources/docs"

for name in Resume Licence; do
  python3 "$root/tools/make_rtf.py" "$docs/src/$name.txt" "$docs/$name.rtf"
  echo "written $docs/$name.rtf"
done

if [ "${1:-}" = "--pdf" ]; then
  out=${2:?"--pdf needs a folder"}
  mkdir -p "$out"
  soffice --headless --convert-to pdf --outdir "$out" "$docs/Resume.rtf" "$docs/Licence.rtf" >/dev/null
  echo "laid out in $out"
fi
