#!/usr/bin/env bash
# Installs the Debian packages a step needs, only those that are missing.
# Usage: tools/deps.sh build|run|test
set -euo pipefail

build_pkgs=(cmake g++ make pkg-config libgtest-dev libbenchmark-dev libpng-dev zlib1g-dev
            libfreetype-dev libfontconfig-dev fonts-unifont fonts-ipafont-gothic
            qt6-base-dev qt6-qpa-plugins libcups2-dev binutils-mingw-w64-i686)
# Qt's own translations: its dialogs and buttons in the user's language.
run_pkgs=(qt6-translations-l10n)
test_pkgs=(xvfb xdotool x11-apps x11-utils python3 imagemagick cups printer-driver-cups-pdf
           poppler-utils g++-mingw-w64-i686 locales)
# The Debian package (cpack: dpkg-shlibdeps needs dpkg-dev and file), and
# the checks of the package, the Windows zip, the desktop entry and manuals.
build_pkgs+=(dpkg-dev file)
test_pkgs+=(desktop-file-utils unzip man-db)
# The desktop files as the desktop reads them: the file type (xdg-mime asks
# `mimetype`, which its recommended package brings), AppStream, the icons
# rendered from their SVG again, and lintian's view of the package.
test_pkgs+=(xdg-utils libfile-mimeinfo-perl shared-mime-info appstream librsvg2-bin lintian)
# The fuzz targets: clang with its fuzzer and sanitizer runtimes, and
# llvm-symbolizer for readable reports.
test_pkgs+=(clang libclang-rt-14-dev llvm-14)
# Wine's spooler reaches CUPS through the libcups of its own architecture.
test_i386_pkgs=(wine wine32:i386 libcups2:i386)
# Kernels that run no 32-bit programs (ia32 emulation off) check a 64-bit
# build of the same sources under Wine instead.
test_wine64_pkgs=(wine64 g++-mingw-w64-x86-64)

case "${1:-}" in
build) wanted=("${build_pkgs[@]}") ;;
run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
test) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}" "${test_pkgs[@]}" "${test_i386_pkgs[@]}") ;;
*) echo "usage: $0 build|run|test" >&2; exit 2 ;;
esac

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

install_missing() {
  local missing=() pkg status
  for pkg in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = installed ] || missing+=("$pkg")
  done
  [ ${#missing[@]} -eq 0 ] && return 0

  echo "Installing: ${missing[*]}"
  if printf '%s\n' "${missing[@]}" | grep -q ':i386$' \
     && ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
  fi
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
}

install_missing "${wanted[@]}"

if [ "$1" = test ]; then
  /usr/lib/wine/wine --version >/dev/null 2>&1 || install_missing "${test_wine64_pkgs[@]}"
  # The Wine tests run with a Japanese ANSI code page.
  if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    "${sudo_cmd[@]}" sed -i 's/^# *ja_JP.UTF-8 UTF-8/ja_JP.UTF-8 UTF-8/' /etc/locale.gen
    "${sudo_cmd[@]}" locale-gen >/dev/null
  fi
fi
