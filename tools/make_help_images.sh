#!/usr/bin/env bash
# Draws the pictures of the help pages with the program's own constructions (zorva-cli draw
# and graph) into data/help/images, one per language: NAME_de.png and NAME_en.png.
# Run after a build: tools/make_help_images.sh [build folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
cli="$build/zorva-cli"
out=data/help/images
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export QT_QPA_PLATFORM=offscreen
# A fixed site and year, and no settings file of the machine: the pictures do not depend on it.
site=(--lat 47.65N --lon 9.18E --zone 15E --year 2027)
size=1040x720

for lang in de en; do
  # Defaults of the program, and the same with the map under the dial (coast and borders on).
  "$cli" "${site[@]}" --lang "$lang" settings write "$work/plain.zor" >/dev/null
  sed 's/^\([DE][jn]\)[jn][jn][jn]\r$/\1jjj\r/' "$work/plain.zor" >"$work/map.zor"
  draw() {  # name, then the arguments of draw
    local name=$1; shift
    "$cli" --settings "$work/plain.zor" "${site[@]}" --lang "$lang" draw --size "$size" --out "$out/${name}_$lang.png" "$@"
  }
  draw planar_v --dial v
  draw planar_h --dial h
  draw umbrella --dial sh
  draw shepherd --dial z0
  draw hat --dial z1
  draw hidokai --dial k
  draw quadrant --dial q0
  draw habermel --dial q1
  draw azimuth --dial a
  draw mean_time --dial m0
  draw analemmatic --dial walk-on
  draw bifilar --dial bifilar --threads 50,37
  "$cli" --settings "$work/map.zor" "${site[@]}" --lang "$lang" draw --dial v --size "$size" --out "$out/map_v_$lang.png"
  "$cli" --settings "$work/plain.zor" "${site[@]}" --lang "$lang" graph eot --out "$out/graph_eot_$lang.png"
  "$cli" --settings "$work/plain.zor" "${site[@]}" --lang "$lang" graph sunpath --out "$out/graph_sunpath_$lang.png"
done
ls -l "$out"
