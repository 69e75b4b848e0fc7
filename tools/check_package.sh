#!/usr/bin/env bash
# Builds the Debian package of the build folder $1 into a temporary folder, checks its
# contents, unpacks it into a temporary root and runs the unpacked programs there: zorva-cli
# must draw a dial over the installed map data, the window program must start.
# Exit 77 (skipped) when cpack or dpkg-deb are missing.
set -euo pipefail
build=$(cd "$1" && pwd)
command -v cpack >/dev/null && command -v dpkg-deb >/dev/null || exit 77
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/pkg" >"$work/cpack.log" 2>&1 || {
  cat "$work/cpack.log"; exit 1; }
deb=$(ls "$work"/pkg/zorva_*.deb)
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) kB)"

dpkg-deb -c "$deb" >"$work/contents"
for f in ./usr/bin/zorva ./usr/bin/zorva-cli ./usr/share/zorva/coastZor.dat ./usr/share/zorva/GrenzenZor.dat \
         ./usr/share/zorva/coastZor_110m.dat ./usr/share/zorva/GrenzenZor_110m.dat \
         ./usr/share/applications/org.zorva.Zorva.desktop ./usr/share/metainfo/org.zorva.Zorva.metainfo.xml \
         ./usr/share/icons/hicolor/scalable/apps/org.zorva.Zorva.svg ./usr/share/man/man1/zorva-cli.1 \
         ./usr/share/doc/zorva/help/de/overview.html ./usr/share/doc/zorva/help/en/overview.html; do
  grep -q " $f\$" "$work/contents" || { echo "missing in the package: $f"; exit 1; }
done
depends=$(dpkg-deb -f "$deb" Depends)
echo "Depends: $depends"
for d in libqt6widgets6 libqt6svg6 libgdal32 fonts-liberation2 qt6-translations-l10n; do
  [[ "$depends" == *"$d"* ]] || { echo "the package does not depend on $d"; exit 1; }
done

root="$work/root"
dpkg -x "$deb" "$root"
# The desktop entry and the metadata as software centres read them, where the checkers exist.
if command -v appstreamcli >/dev/null; then
  appstreamcli validate --no-net "$root/usr/share/metainfo/org.zorva.Zorva.metainfo.xml"
fi
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$root/usr/share/applications/org.zorva.Zorva.desktop"
fi
export HOME="$work/home" XDG_DATA_HOME="$work/home/data" XDG_DATA_DIRS="$work/none" XDG_CONFIG_HOME="$work/home/config"
export QT_QPA_PLATFORM=offscreen
mkdir -p "$HOME"
cli="$root/usr/bin/zorva-cli"
"$cli" --version

# A settings file with the map overlay switched on (coast and borders), from the defaults.
"$cli" --lang en settings write "$work/map.zor"
sed -i 's/^\([DE][jn]\)[jn][jn][jn]\r$/\1jjj\r/' "$work/map.zor"
grep -aq $'^[DE].jjj\r$' "$work/map.zor" || { echo "the map switches were not found in the settings file"; exit 1; }
# From a folder that holds no data: the files must come from the installed data folder.
cd "$work"
"$cli" --lang en --settings "$work/map.zor" draw --dial h --out "$work/dial.plt" 2>"$work/draw.err" || {
  cat "$work/draw.err"; exit 1; }
if grep -q "not found" "$work/draw.err"; then cat "$work/draw.err"; exit 1; fi
grep -q "SP 11" "$work/dial.plt" && grep -q "SP 12" "$work/dial.plt" || {
  echo "the plot holds no coast (pen 11) or no borders (pen 12)"; exit 1; }
echo "zorva-cli drew a horizontal dial over the installed map: $(wc -c <"$work/dial.plt") bytes"

# The window program starts and keeps running until it is stopped.
set +e
timeout 5 "$root/usr/bin/zorva" >"$work/gui.log" 2>&1
status=$?
set -e
if [ "$status" -ne 124 ]; then
  echo "the window program ended with status $status"; cat "$work/gui.log"; exit 1
fi
echo "the window program started from the unpacked package"
