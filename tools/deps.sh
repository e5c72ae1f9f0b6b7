#!/usr/bin/env bash
# Installs the Debian packages a step needs, only those that are missing.
# Usage: tools/deps.sh build|run|test
set -euo pipefail

build_pkgs=(cmake g++ make pkg-config libgtest-dev libbenchmark-dev libpng-dev
            libfreetype-dev libfontconfig-dev fonts-unifont fonts-ipafont-gothic
            qt6-base-dev libqt6printsupport6 libcups2-dev binutils-mingw-w64-i686)
run_pkgs=()
test_pkgs=(xvfb xdotool x11-apps imagemagick cups printer-driver-cups-pdf poppler-utils
           g++-mingw-w64-i686 locales)
test_i386_pkgs=(wine wine32:i386)

case "${1:-}" in
build) wanted=("${build_pkgs[@]}") ;;
run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
test) wanted=("${build_pkgs[@]}" "${test_pkgs[@]}" "${test_i386_pkgs[@]}") ;;
*) echo "usage: $0 build|run|test" >&2; exit 2 ;;
esac

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

missing=()
for pkg in "${wanted[@]}"; do
  status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
  [ "$status" = installed ] || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
if printf '%s\n' "${missing[@]}" | grep -q ':i386$' \
   && ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
