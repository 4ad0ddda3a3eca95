#!/usr/bin/env bash
# Builds the Debian package from a built tree and checks it as a user meets it:
# the desktop entry, the AppStream metadata and the package are validated; the
# package is unpacked into a scratch folder and the unpacked program runs
# offscreen on a new account until it has written its first report, then
# SIGTERM must end it with the settings saved. Leaves the package in the build
# folder. Usage: scripts/package-check.sh [build-dir]
set -euo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$(cd "${1:-$here/build}" && pwd)"
app=com.brindlesoftware.Voltisk
"$here/scripts/deps.sh"

scratch="$(mktemp -d)"
pid=
cleanup() {
  if [ -n "$pid" ]; then kill -KILL "$pid" 2>/dev/null || true; fi
  rm -rf "$scratch"
}
trap cleanup EXIT
fail() {
  echo "package-check: $*" >&2
  exit 1
}

echo "== Debian package"
rm -f "$build"/voltisk_*.deb
(cd "$build" && cpack -G DEB) >"$scratch/cpack.log" 2>&1 || { cat "$scratch/cpack.log" >&2; fail "cpack failed"; }
debs=("$build"/voltisk_*_*.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one voltisk_<version>_<arch>.deb in $build"
deb="${debs[0]}"
version="$(dpkg-deb -f "$deb" Version)"
[ "$(basename "$deb")" = "voltisk_${version}_$(dpkg-deb -f "$deb" Architecture).deb" ] || fail "odd file name $deb"
dpkg-deb -f "$deb" Depends | grep -q libqt6widgets6 || fail "the dependencies were not computed from the binary"
dpkg-deb -f "$deb" Recommends | grep -q xdg-utils || fail "the package does not recommend xdg-utils"
echo "$(basename "$deb")"
grep -qF "./build/voltisk_${version}_" "$here/README.md" || fail "the README installs another version than $version"

echo "== lintian"
# Errors and warnings fail; informational tags are shown but pass.
status=0
lintian --fail-on error,warning --display-info "$deb" >"$scratch/lintian.log" 2>&1 || status=$?
grep -v "running with root privileges" "$scratch/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian found errors or warnings"

echo "== unpacked files"
root="$scratch/root"
dpkg -x "$deb" "$root"
share="$root/usr/share"
expected=("$root/usr/bin/voltisk" "$root/usr/bin/voltisk-cli" "$share/man/man1/voltisk-cli.1.gz"
  "$share/applications/$app.desktop" "$share/metainfo/$app.metainfo.xml"
  "$share/icons/hicolor/scalable/apps/$app.svg" "$share/man/man1/voltisk.1.gz"
  "$share/doc/voltisk/copyright" "$share/doc/voltisk/changelog.gz")
for size in 16 32 48 64 128 256; do
  expected+=("$share/icons/hicolor/${size}x${size}/apps/$app.png")
done
guide="$share/doc/voltisk/guide"
expected+=("$guide/index.html")
for f in "${expected[@]}"; do
  [ -s "$f" ] || fail "missing from the package: ${f#"$root"}"
done

echo "== user guide"
# The installed copy: every page of the source, and no link to a missing
# page, picture or anchor.
for page in "$here"/docs/guide/*.html; do
  [ -s "$guide/$(basename "$page")" ] || fail "the guide's $(basename "$page") is not installed"
done
cmake -DGUIDE="$guide" -DOUT="$scratch/guide" -P "$here/docs/guide/checkguide.cmake" ||
  fail "the installed guide has broken links"
for size in 16 32 48 64 128 256; do
  file -b "$share/icons/hicolor/${size}x${size}/apps/$app.png" | grep -q "PNG image data, $size x $size," ||
    fail "the ${size}x${size} icon is not a $size pixel PNG"
done

echo "== desktop entry and AppStream metadata"
desktop-file-validate "$share/applications/$app.desktop" || fail "desktop-file-validate"
# The metadata together with the desktop entry and icons it refers to; the
# one pedantic note (upper case in the reverse-DNS id) is the id's own spelling.
appstreamcli validate-tree --no-net --strict "$root" || fail "appstreamcli validate-tree"
# voltisk.1 always; voltisk-cli.1 once the package holds the command-line program.
manuals=(voltisk)
[ -e "$root/usr/bin/voltisk-cli" ] && manuals+=(voltisk-cli)
for manual in "${manuals[@]}"; do
  page="$share/man/man1/$manual.1.gz"
  [ -s "$page" ] || fail "missing from the package: ${page#"$root"}"
  man --warnings -E UTF-8 -l "$page" 2>"$scratch/man.log" >/dev/null
  [ ! -s "$scratch/man.log" ] || { cat "$scratch/man.log" >&2; fail "$manual.1 has formatting warnings"; }
done

echo "== the unpacked program on a new account"
account="$scratch/account"
mkdir -p "$account/home" "$account/config" "$account/data"
mkdir -m 0700 "$account/run"
run_env=(env -i PATH="$PATH" HOME="$account/home" XDG_CONFIG_HOME="$account/config"
  XDG_DATA_HOME="$account/data" XDG_RUNTIME_DIR="$account/run" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=offscreen)
printed="$("${run_env[@]}" "$root/usr/bin/voltisk" --version | head -n 1)"
[ "$printed" = "Voltisk $version" ] || fail "--version printed \"$printed\", the package is $version"
# The pages' module, loaded later, finds every name it needs in the program.
pages="$(find "$root/usr/lib" -name libvoltisk_pages.so)"
[ -s "$pages" ] || fail "missing from the package: libvoltisk_pages.so"
"${run_env[@]}" LD_BIND_NOW=1 LD_PRELOAD="$pages" "$root/usr/bin/voltisk" --version >/dev/null ||
  fail "the pages module does not bind against the program"
dpkg-deb -f "$deb" Depends | grep -q libqt6sql6 || fail "the pages module's dependencies are missing"
[ -z "$(find "$account" -mindepth 2)" ] || fail "--version left files behind"

folder="$account/config/BrindleSoftware/voltisk"
"${run_env[@]}" "$root/usr/bin/voltisk" >"$scratch/run.log" 2>&1 &
pid=$!
for _ in $(seq 1 200); do
  compgen -G "$folder/report_*.html" >/dev/null && break
  kill -0 "$pid" 2>/dev/null || { cat "$scratch/run.log" >&2; fail "the program ended before its first report"; }
  sleep 0.1
done
compgen -G "$folder/report_*.html" >/dev/null || { cat "$scratch/run.log" >&2; fail "no report after 20 s"; }
[ ! -e "$folder/voltisk.ini" ] || fail "settings were saved before the window closed"
kill -TERM "$pid"
for _ in $(seq 1 200); do
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$pid" 2>/dev/null && fail "still running 20 s after SIGTERM"
status=0
wait "$pid" || status=$?
pid=
[ "$status" -eq 0 ] || { cat "$scratch/run.log" >&2; fail "SIGTERM ended the program with status $status"; }
grep -q '^\[Settings\]' "$folder/voltisk.ini" && grep -q '^DailyServiceCharge=' "$folder/voltisk.ini" ||
  fail "the settings were not saved on SIGTERM"
echo "report written, settings saved on SIGTERM: $(basename "$deb") is good"
