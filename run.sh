#!/usr/bin/env bash
# Installs what is missing, builds and starts Zorva.
set -euo pipefail
cd "$(dirname "$0")"
tools/deps.sh
tools/build.sh
exec build/zorva "$@"
