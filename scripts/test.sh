#!/usr/bin/env bash
# Install what is missing, build, and run the whole suite: a normal build,
# an address/undefined-behaviour sanitizer build, and a thread-sanitizer
# build of the tests that exercise the USB receive path.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

# The fonts a desktop usually has besides: fontconfig prefers some of them for
# the families the program names, so the form's fit check proves that the
# bundled fonts are what the pages use.
VESK_DESKTOP_FONTS=(
  fonts-dejavu fonts-liberation fonts-liberation2 fonts-noto-core fonts-noto-mono
  fonts-urw-base35 fonts-cantarell
)
vesk_install_packages "${VESK_PACKAGES[@]}" "${VESK_DESKTOP_FONTS[@]}"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
jobs=$(nproc)
# Temporary files of this run (test folders, simulator testbeds, also those of
# a simulator killed mid-test) go into one folder that is removed at the end.
TMPDIR=$(mktemp -d)
export TMPDIR
trap 'rm -rf "$TMPDIR"' EXIT
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  XDG_RUNTIME_DIR=$(mktemp -d)
  export XDG_RUNTIME_DIR
fi

echo "== build"
vesk_build build ""
(cd build && ctest --output-on-failure --no-tests=error -j"$jobs")

echo "== address and undefined-behaviour sanitizers"
vesk_build build-asan "" -DVESK_SANITIZE=address,undefined
(cd build-asan && ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 \
  LSAN_OPTIONS="suppressions=$PWD/../tests/lsan.supp" \
  ctest --output-on-failure --no-tests=error -j"$jobs")

if compgen -G "tests/usb/tst_*.cpp" >/dev/null; then
  echo "== thread sanitizer (USB receive path)"
  # The program's own signal handling runs as a separate process that this
  # stage does not build; the other two stages cover it.
  vesk_build build-tsan usb_tests -DVESK_SANITIZE=thread
  (cd build-tsan && TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/../simulator/tsan.supp" \
    ctest --output-on-failure --no-tests=error -j"$jobs" -L usb \
    -E tst_programsignals)
fi
