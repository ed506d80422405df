#!/bin/sh
# Renders the program's pictures from their SVG drawings in resources/pictures/src/ into
# resources/pictures/. Run from anywhere: tools/make_pictures.sh
#
# Needs rsvg-convert, ImageMagick's convert and the Liberation Sans font (the logos' lettering):
#   apt-get install -y librsvg2-bin imagemagick fonts-liberation2
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
src="$root/resources/pictures/src"
out="$root/resources/pictures"

# ImageMagick 6 installs "convert"; version 7 prefers "magick".
if [ -x /usr/bin/convert ]; then im=/usr/bin/convert
elif command -v magick >/dev/null 2>&1; then im=magick
else im=convert
fi
for tool in rsvg-convert "$im"; do
  command -v "$tool" >/dev/null 2>&1 || { echo "missing $tool: apt-get install -y librsvg2-bin imagemagick fonts-liberation2" >&2; exit 1; }
done
case $(fc-match -f '%{family}' 'Liberation Sans' 2>/dev/null) in
  *Liberation*) ;;
  *) echo "missing the Liberation Sans font: apt-get install -y fonts-liberation2" >&2; exit 1 ;;
esac

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

# render SVG ZOOM OUTPUT: RGBA picture at ZOOM times the drawing's own size
render() {
  rsvg-convert --zoom="$2" "$src/$1.svg" -o "$tmp/render.png"
}

# Opaque 24-bit picture on the windows' light grey (the logos).
opaque() {
  render "$1" "$2"
  "$im" "$tmp/render.png" -background '#E0E0E0' -alpha remove -alpha off -strip \
    -define png:exclude-chunks=date,time "PNG24:$out/$3"
}

# Picture with transparency, laid on whatever background the window has.
transparent() {
  render "$1" "$2"
  "$im" "$tmp/render.png" -strip -define png:exclude-chunks=date,time "PNG32:$out/$3"
}

# Application icon at one square size, from the drawing made for that grid.
icon() {
  rsvg-convert --width="$2" --height="$2" "$src/$1.svg" -o "$tmp/render.png"
  "$im" "$tmp/render.png" -strip -define png:exclude-chunks=date,time "PNG32:$out/korvelan_$2.png"
}

for scale in 1 2; do
  suffix=""; [ "$scale" = 2 ] && suffix="@2x"
  opaque logo_splash "$scale" "logo_splash$suffix.png"
  opaque logo_about "$scale" "logo_about$suffix.png"
  transparent option_off "$scale" "option_off$suffix.png"
  transparent option_on "$scale" "option_on$suffix.png"
  transparent info "$scale" "info$suffix.png"
done

icon icon-16 16
icon icon-24 24
for size in 32 48 64 128 256; do icon icon "$size"; done
cp "$src/icon.svg" "$out/korvelan.svg"

echo "pictures written to $out"
