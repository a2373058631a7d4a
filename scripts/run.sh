#!/usr/bin/env bash
# Install what is missing, build, and start Vesk. Without an attached
# instrument Vesk runs against the simulated instrument.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

vesk_install_packages
vesk_build build ""

# Vesk keeps "vesk.log" and reads "hardware.xml" in its working directory.
workdir=build/run
mkdir -p "$workdir"
cp -f data/* "$workdir"/ 2>/dev/null || true
cd "$workdir"

if grep -qsx 60eb /sys/bus/usb/devices/*/idProduct 2>/dev/null && [ -z "${VESK_SIMULATE:-}" ]; then
  exec ../vesk "$@"
fi
if [ -x ../simulator/vesk-sim ]; then
  echo "No instrument attached: starting Vesk against the simulated instrument."
  exec ../simulator/vesk-sim -- ../vesk "$@"
fi
exec ../vesk "$@"
