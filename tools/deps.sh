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
# The desktop tests read what the viewer copies back from the clipboard.
test_pkgs+=(xclip)
# The fuzz targets: clang with its fuzzer and sanitizer runtimes, and
# llvm-symbolizer for readable reports.
test_pkgs+=(clang libclang-rt-14-dev llvm-14)
# Wine's spooler reaches CUPS through the libcups of its own architecture.
# Only where the kernel runs 32-bit programs: elsewhere they would never run.
test_i386_pkgs=(wine wine32:i386 libcups2:i386)
# Kernels that run no 32-bit programs (ia32 emulation off) check a 64-bit
# build of the same sources under Wine instead.
test_wine64_pkgs=(wine64 g++-mingw-w64-x86-64)
# bench/pidpage_vs_gnuplot.sh: whole-process timing against gnuplot's chart.
test_pkgs+=(hyperfine gnuplot-nox)

case "${1:-}" in
build) wanted=("${build_pkgs[@]}") ;;
run) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}") ;;
test) wanted=("${build_pkgs[@]}" "${run_pkgs[@]}" "${test_pkgs[@]}") ;;
*) echo "usage: $0 build|run|test" >&2; exit 2 ;;
esac

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

# Another apt (an unattended upgrade, a second build) may hold the lock.
apt_get() { DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get -o DPkg::Lock::Timeout=600 "$@"; }

not_installed() {
  local pkg status
  for pkg in "$@"; do
    status=$(dpkg-query -W -f='${db:Status-Status}' "$pkg" 2>/dev/null || true)
    [ "$status" = installed ] || echo "$pkg"
  done
}

# A mirror's index that is out of step for one architecture or suite makes
# apt-get update fail as a whole; the other indexes are still good, and a
# package that truly cannot be had fails its install below, by name.
updated=
update_once() {
  [ -z "$updated" ] || return 0
  updated=1
  apt_get update -qq || echo "deps.sh: apt-get update failed for some index (above); going on with the others" >&2
}

install_missing() {
  local missing=() failed=() pkg
  mapfile -t missing < <(not_installed "$@")
  [ ${#missing[@]} -eq 0 ] && return 0
  echo "Installing: ${missing[*]}"
  update_once
  apt_get install -y -qq --no-install-recommends "${missing[@]}" && return 0
  # One package that cannot be had fails the whole batch: name it, and
  # install the rest.
  for pkg in $(not_installed "${missing[@]}"); do
    apt_get install -y -qq --no-install-recommends "$pkg" >/dev/null 2>&1 || failed+=("$pkg")
  done
  [ ${#failed[@]} -eq 0 ] && return 0
  echo "deps.sh: cannot install ${failed[*]}" >&2
  return 1
}

# A 91-byte static i386 program that only exits 0: runs where the kernel has
# ia32 emulation, "Exec format error" where it has not.
runs_32bit_programs() {
  local dir ok=1
  dir=$(mktemp -d)
  printf '\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00\x01\x00\x00\x00\x54\x80\x04\x08\x34\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x00\x34\x00\x20\x00\x01\x00\x00\x00\x00\x00\x00\x00' >"$dir/exit0"
  printf '\x01\x00\x00\x00\x00\x00\x00\x00\x00\x80\x04\x08\x00\x80\x04\x08\x5b\x00\x00\x00\x5b\x00\x00\x00\x05\x00\x00\x00\x00\x10\x00\x00' >>"$dir/exit0"
  printf '\x31\xdb\x31\xc0\x40\xcd\x80' >>"$dir/exit0"
  chmod +x "$dir/exit0"
  "$dir/exit0" 2>/dev/null && ok=0
  rm -rf "$dir"
  return $ok
}

install_missing "${wanted[@]}"

if [ "$1" = test ]; then
  if runs_32bit_programs; then
    dpkg --print-foreign-architectures | grep -qx i386 || { "${sudo_cmd[@]}" dpkg --add-architecture i386; updated=; }
    install_missing "${test_i386_pkgs[@]}" \
      || echo "deps.sh: the 32-bit Wine cannot be installed; the Wine tests use the 64-bit build"
  fi
  /usr/lib/wine/wine --version >/dev/null 2>&1 || install_missing "${test_wine64_pkgs[@]}"
  # The Wine tests run with a Japanese ANSI code page; a print test runs
  # where numbers are written with decimal commas.
  for loc in ja_JP de_DE; do
    if ! locale -a 2>/dev/null | grep -qix "$loc.utf8"; then
      "${sudo_cmd[@]}" sed -i "s/^# *$loc.UTF-8 UTF-8/$loc.UTF-8 UTF-8/" /etc/locale.gen
      made_locale=1
    fi
  done
  [ -z "${made_locale:-}" ] || "${sudo_cmd[@]}" locale-gen >/dev/null
fi
