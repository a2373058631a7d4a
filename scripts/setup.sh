# Shared by run.sh and test.sh: install what is missing (Debian 12, as root)
# and configure + build one build directory.

VESK_PACKAGES=(
  build-essential cmake pkg-config
  qtbase5-dev qtbase5-dev-tools libqt5serialport5-dev
  libqcustomplot-dev libusb-1.0-0-dev
  libpython3-dev pybind11-dev
  umockdev libumockdev-dev libglib2.0-dev
  fonts-dejavu-core
)

# vesk_install_packages [PACKAGE...]  (default: VESK_PACKAGES)
vesk_install_packages() {
  local missing=() p
  (($#)) || set -- "${VESK_PACKAGES[@]}"
  for p in "$@"; do
    dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null | grep -qx installed || missing+=("$p")
  done
  if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
  fi
}

# vesk_build DIR [TARGET] [extra cmake arguments...]
vesk_build() {
  local dir=$1 target=$2
  shift 2
  cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir" -j"$(nproc)" ${target:+--target "$target"}
}
