#!/usr/bin/env bash
# Sets Swivel up on Debian 12: installs the missing apt packages, configures and builds,
# then starts the program ("run") or runs the whole test suite ("test").
set -euo pipefail
cd "$(dirname "$0")/.."

mode=${1:-run}
case "$mode" in run|test) ;; *) echo "usage: tools/setup.sh run|test" >&2; exit 64 ;; esac

packages=(cmake make g++ qt6-base-dev libgtest-dev libgmock-dev libbenchmark-dev
          qt6-svg-dev qt6-translations-l10n fonts-liberation fonts-dejavu-core desktop-file-utils appstream)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -eq 0 ] || sudo=sudo
  $sudo apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset default >/dev/null
cmake --build --preset default

if [ "$mode" = run ]; then
  if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    build/default/app/swivel --snapshot swivel.png "${@:2}"
    echo "No display found, so the main window was rendered to $PWD/swivel.png instead."
    exit 0
  fi
  exec build/default/app/swivel "${@:2}"
fi
ctest --preset default
