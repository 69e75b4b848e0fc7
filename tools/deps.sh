#!/usr/bin/env bash
# Installs the Debian packages Zorva needs to build, run and test; does nothing when all are present.
set -euo pipefail
PACKAGES=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-base-dev-tools qt6-svg-dev libqt6svg6-dev libgl-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libgdal-dev
  fonts-liberation2 fonts-dejavu-core qt6-translations-l10n
  clang libclang-rt-14-dev
  python3 python3-ezdxf python3-matplotlib hp2xx
  xvfb xauth poppler-utils
  locales
)
missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
