#!/usr/bin/env bash
# Installs the Debian/Ubuntu packages needed to build and test the tools;
# with the argument "package" also those that build and check the Debian
# package. A machine that already has them all does no package work at all.
set -euo pipefail

packages=(
  cmake
  g++
  ninja-build
  qt6-base-dev
  qt6-serialport-dev
  qt6-charts-dev
  libqt6opengl6-dev
  libgtest-dev
  libgmock-dev
  fonts-dejavu-core
  # The desktop tests: a virtual X display, a window manager, and tools that
  # close windows and type keys as a person would.
  xvfb
  openbox
  x11-utils
  wmctrl
  xdotool
  procps
  poppler-utils
)
if [[ "${1:-}" == "package" ]]; then
  packages+=(dpkg-dev file fakeroot lintian desktop-file-utils appstream man-db)
fi

# Other names of the same thing on some releases.
declare -A alternative=([qt6-serialport-dev]=libqt6serialport6-dev)

installed() {
  [[ "$(dpkg-query -W -f='${Status}' "$1" 2>/dev/null || true)" == "install ok installed" ]]
}

missing=()
for p in "${packages[@]}"; do
  if ! installed "$p" && ! { [[ -n "${alternative[$p]:-}" ]] && installed "${alternative[$p]}"; }; then
    missing+=("$p")
  fi
done

if [[ ${#missing[@]} -eq 0 ]]; then
  exit 0
fi

if ! command -v apt-get >/dev/null 2>&1; then
  echo "install-deps: missing packages (${missing[*]}) and no apt-get here; install them by hand." >&2
  exit 1
fi

sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  if command -v sudo >/dev/null 2>&1; then
    sudo_cmd=(sudo)
  else
    echo "install-deps: need root or sudo to install: ${missing[*]}" >&2
    exit 1
  fi
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -q
for i in "${!missing[@]}"; do
  p="${missing[$i]}"
  alt="${alternative[$p]:-}"
  if [[ -n "$alt" ]] && [[ -z "$(apt-cache policy "$p" 2>/dev/null | sed -n 's/^ *Candidate: //p' | grep -v '(none)')" ]]; then
    missing[$i]="$alt"
  fi
done
"${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
