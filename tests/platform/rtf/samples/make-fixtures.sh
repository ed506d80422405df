#!/bin/sh
# Regenerates the RTF test documents from their sources with real writers.
# Needs: apt-get install -y pandoc libreoffice-writer-nogui
# Made with pandoc 2.17.1.1 and LibreOffice 7.4.7.2 (Debian 12).
set -eu
cd "$(dirname "$0")"
profile="file:///tmp/korvelan-lo-profile"
pandoc -s -f markdown -t rtf resume.md -o resume-pandoc.rtf
pandoc -s -f html -t rtf licence.html -o licence-pandoc.rtf
pandoc -s -f markdown -t odt resume.md -o resume.odt
soffice --headless -env:UserInstallation="$profile" --infilter="HTML (StarWriter)" --convert-to rtf --outdir . licence.html
mv licence.rtf licence-libreoffice.rtf
soffice --headless -env:UserInstallation="$profile" --convert-to rtf --outdir . resume.odt
mv resume.rtf resume-libreoffice.rtf
