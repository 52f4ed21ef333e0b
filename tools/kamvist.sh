#!/usr/bin/env bash
# Set-up, build and start of Kamvist on Debian 12:
#   tools/kamvist.sh run    installs what is missing, builds, starts the program
#   tools/kamvist.sh test   installs what is missing, builds, runs every test
#   tools/kamvist.sh package   installs what is missing, builds, makes the .deb and the
#                              portable .tar.gz in build/packages/
set -euo pipefail
cd "$(dirname "$0")/.."

BUILD_DIR=${KAMVIST_BUILD_DIR:-build}

# Debian packages: what the program needs to build and run, and what only the tests need.
RUN_PACKAGES=(g++ cmake make pkg-config qt6-base-dev libqt6sql6-sqlite
  libavdevice-dev libavformat-dev libavcodec-dev libavfilter-dev libswscale-dev libavutil-dev
  fonts-wqy-zenhei xdg-utils)
# cpack's .deb needs dpkg-shlibdeps (dpkg-dev) and file; the packaging test also validates
# the desktop entry and metainfo, and runs the maintainer scripts under fakeroot.
PACKAGE_PACKAGES=(dpkg-dev file)
TEST_PACKAGES=(ffmpeg xvfb xauth sqlite3 "${PACKAGE_PACKAGES[@]}" desktop-file-utils appstream fakeroot)

as_root() {
  if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_missing() {
  local missing=()
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
  done
  if [ ${#missing[@]} -gt 0 ]; then
    echo "Installing: ${missing[*]}"
    as_root apt-get update -q
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
  fi
}

build() {
  cmake -S . -B "$BUILD_DIR" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build "$BUILD_DIR" -j"$(nproc)"
}

has_camera() {
  local node
  for node in /sys/class/video4linux/video*; do
    [ -e "$node" ] && return 0
  done
  return 1
}

case "${1:-}" in
  run)
    install_missing "${RUN_PACKAGES[@]}"
    build
    if has_camera; then
      exec "$BUILD_DIR/bin/Kamvist"
    fi
    echo "No camera found: starting Kamvist with four virtual cameras (--virtual-cameras 4)."
    exec "$BUILD_DIR/bin/Kamvist" --virtual-cameras 4
    ;;
  test)
    install_missing "${RUN_PACKAGES[@]}" "${TEST_PACKAGES[@]}"
    build
    ctest --test-dir "$BUILD_DIR" --output-on-failure
    ;;
  package)
    install_missing "${RUN_PACKAGES[@]}" "${PACKAGE_PACKAGES[@]}"
    build
    cpack --config "$BUILD_DIR/CPackConfig.cmake"
    ;;
  *)
    echo "usage: $0 run|test|package" >&2
    exit 2
    ;;
esac
