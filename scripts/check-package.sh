#!/usr/bin/env bash
# Checks the Debian package from end to end, on the one build in build/:
# builds it (scripts/package.sh); checks the files it installs (desktop
# entries, AppStream data, manual pages, stripped programs, the versions);
# runs lintian on it and shows what lintian says (its errors fail the check);
# then installs it with apt, runs the installed programs and removes it again,
# leaving none of its files behind. Installing needs root (or sudo); without
# it that part is skipped with a note.
# Usage: bash scripts/check-package.sh
set -euo pipefail

root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
package=zelta-service-tools
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

deb="$(bash "$root/scripts/package.sh" | tail -n 1)"
echo "== package: $deb"

tree="$(mktemp -d)"
installed_by_us=0
cleanup() {
  if [[ $installed_by_us -eq 1 ]]; then
    "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q "$package" >/dev/null 2>&1 || true
  fi
  rm -rf "$tree"
}
trap cleanup EXIT

echo "== the installed files"
dpkg-deb -x "$deb" "$tree"
desktop-file-validate "$tree"/usr/share/applications/*.desktop || fail "desktop-file-validate"
appstreamcli validate --no-net "$tree"/usr/share/metainfo/*.metainfo.xml || fail "appstreamcli validate"
for page in "$tree"/usr/share/man/man1/*.1.gz; do
  warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
  [[ -z "$warnings" ]] || fail "man page $(basename "$page"): $warnings"
done
for program in ZELTA_Reader ZELTA_Programmer zelta_bus_sim; do
  binary="$tree/usr/bin/$program"
  [[ -x "$binary" ]] || { fail "$program is not in the package"; continue; }
  file -b "$binary" | grep -q ', stripped' || fail "$program is not stripped"
  [[ -f "$tree/usr/share/man/man1/$program.1.gz" ]] || fail "$program has no manual page"
done
[[ -f "$tree/usr/share/man/man1/zelta_report.1.gz" ]] || fail "zelta_report has no manual page"
for id in org.zelta.Reader org.zelta.Programmer; do
  for icon in scalable/apps/$id.svg 48x48/apps/$id.png 256x256/apps/$id.png; do
    [[ -f "$tree/usr/share/icons/hicolor/$icon" ]] || fail "icon $icon missing"
  done
done
# --version must answer without a display, and agree with the AppStream release.
for pair in ZELTA_Reader:org.zelta.Reader ZELTA_Programmer:org.zelta.Programmer; do
  program="${pair%%:*}"
  id="${pair#*:}"
  release="$(sed -n 's/.*<release version="\([^"]*\)".*/\1/p' "$tree/usr/share/metainfo/$id.metainfo.xml")"
  answer="$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$tree/usr/bin/$program" --version)" ||
    fail "$program --version failed"
  [[ "$answer" == "$program $release" ]] || fail "$program --version says '$answer', AppStream '$release'"
done

echo "== lintian"
lintian_out="$(lintian --display-info --tag-display-limit 0 "$deb" 2>&1 | grep -v '^running with root' || true)"
if [[ -n "$lintian_out" ]]; then echo "$lintian_out"; else echo "(nothing to say)"; fi
grep -q '^E: ' <<<"$lintian_out" && fail "lintian reports errors"

echo "== install, run, remove"
sudo_cmd=()
if [[ $(id -u) -ne 0 ]]; then
  if sudo -n true 2>/dev/null; then sudo_cmd=(sudo -n); else sudo_cmd=(none); fi
fi
if [[ "${sudo_cmd[*]}" == none ]]; then
  echo "Note: not root and no sudo without a password: installing the package is not checked."
elif dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed'; then
  fail "$package is installed on this machine already; remove it first (apt-get purge $package)"
else
  installed_by_us=1
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "$deb" \
    >"$tree/apt.log" 2>&1 || { cat "$tree/apt.log" >&2; fail "apt-get install $deb"; }
  for program in ZELTA_Reader ZELTA_Programmer zelta_bus_sim; do
    [[ "$(command -v "$program")" == "/usr/bin/$program" ]] || fail "$program is not on the PATH once installed"
    env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "/usr/bin/$program" --help | grep -q "^Usage: $program" ||
      fail "$program --help"
    [[ "$(man -w "$program" 2>/dev/null)" == "/usr/share/man/man1/$program.1.gz" ]] || fail "man $program"
  done
  # The windows open (offscreen) and stay up until they are ended.
  for program in ZELTA_Reader ZELTA_Programmer; do
    status=0
    QT_QPA_PLATFORM=offscreen timeout 3 "/usr/bin/$program" >/dev/null 2>&1 || status=$?
    [[ $status -eq 124 ]] || fail "$program did not stay up (exit status $status)"
  done
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get purge -y -q "$package" >"$tree/apt.log" 2>&1 ||
    { cat "$tree/apt.log" >&2; fail "apt-get purge $package"; }
  installed_by_us=0
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' && fail "$package still installed"
  while read -r path; do
    [[ -e "/$path" || -L "/$path" ]] && fail "/$path left behind"
  done < <(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ { sub(/^\.\//, "", $6); print $6 }')
fi

if [[ $failures -eq 0 ]]; then
  echo "package check: 1 passed, 0 failed"
else
  echo "package check: 0 passed, 1 failed ($failures problems)"
  exit 1
fi
