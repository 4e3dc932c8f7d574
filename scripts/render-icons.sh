#!/usr/bin/env bash
# Renders the programs' icons from their SVG drawings into the PNG sizes that
# are installed and built into the programs (desktop/icons/). Run it after
# changing a drawing; it installs rsvg-convert (librsvg2-bin) when missing.
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
icons="$root/desktop/icons"

if ! command -v rsvg-convert >/dev/null 2>&1; then
  sudo_cmd=(); [[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends librsvg2-bin
fi

for svg in "$icons"/*.svg; do
  name="$(basename "$svg" .svg)"
  for size in 48 256; do
    rsvg-convert -w "$size" -h "$size" "$svg" -o "$icons/$name-$size.png"
  done
done
