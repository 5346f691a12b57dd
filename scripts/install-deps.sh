#!/usr/bin/env bash
# Installs the Debian packages that building and testing Parvolin need, and
# only those that are not installed yet. Safe to run any number of times.
# With --run, only what building and running the Linux program needs (the
# build configures the tests too, so GoogleTest and Xvfb are among them).
# Packages named as arguments are installed in the same way, for the tasks
# beyond building and testing (the screenshot, say).
set -euo pipefail

build_and_run=(
    g++ make cmake
    libgtest-dev
    qt6-base-dev libxcb1-dev pkgconf
    xvfb xauth
    qt6-base-private-dev
)
# The tests beyond the program's own build: installing, the sanitizers and
# fuzzers (clang), and the Windows build under Wine.
testing=(
    xdotool xclip x11-utils openbox fonts-dejavu-core
    desktop-file-utils appstream dpkg-dev file hicolor-icon-theme
    devscripts lintian man-db strip-nondeterminism
    binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev g++-mingw-w64-x86-64-posix
    wine wine64 nsis
    python3
    clang libclang-rt-14-dev
    clang-format-14
    locales
)

run_only=false
if [[ ${1:-} == --run ]]; then
    run_only=true
    shift
    packages=("$@" "${build_and_run[@]}")
else
    packages=("$@" "${build_and_run[@]}" "${testing[@]}")
fi

missing=()
for package in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${db:Status-Abbrev}' "$package" 2>/dev/null || true)
    [[ $status == ii* ]] || missing+=("$package")
done

sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi

if ((${#missing[@]} > 0)); then
    echo "Installing missing packages: ${missing[*]}"
    if ((EUID != 0)); then
        command -v sudo >/dev/null || { echo "Run as root or install sudo to install: ${missing[*]}" >&2; exit 1; }
    fi
    "${sudo[@]}" apt-get update
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The Windows window test runs a second time under Wine in a German locale,
# which Wine takes from the system's generated locales.
if [[ $run_only == false ]] && ! locale -a 2>/dev/null | grep -qix 'de_DE.utf-\?8'; then
    "${sudo[@]}" sed -i 's/^# *\(de_DE.UTF-8 UTF-8\)/\1/' /etc/locale.gen
    grep -qx 'de_DE.UTF-8 UTF-8' /etc/locale.gen || echo 'de_DE.UTF-8 UTF-8' | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
    "${sudo[@]}" locale-gen >/dev/null
fi
