#!/usr/bin/env bash
# Builds the downloads of the last commit twice, in two fresh clones in
# different folders, at different times and with different umasks, and
# compares them byte for byte: the Linux program, the Debian package, the
# Windows program, zip and installer, and the source tarball.
# Prints the SHA-256 of each; on a difference, diffoscope shows where.
# Usage: reproducible-check.sh [JOBS]
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
jobs=${1:-2}
work=$(mktemp -d /tmp/parvolin-reproducible.XXXXXX)
trap 'rm -rf "$work"' EXIT
version=$(make -s -C "$top" --no-print-directory -f - <<<'include Makefile
print: ; @echo $(VERSION)' print)

artefacts=(
    build/default/app/parvolin
    "build/default/parvolin_${version}-1_amd64.deb"
    build/windows/app/parvolin.exe
    "build/windows/Parvolin-${version}-win64.zip"
    "build/windows/Parvolin-${version}-win64-setup.exe"
    "build/dist/parvolin-${version}.tar.gz"
)

build() {  # build FOLDER UMASK: a clone of the last commit, and its downloads
    local source=$1/parvolin
    git clone --quiet --no-hardlinks "$top" "$source"
    (
        umask "$2"
        cd "$source"
        # Each clone finds the commit's time itself, as a plain cmake build does.
        unset SOURCE_DATE_EPOCH
        # Only what the downloads need: the tests are not built.
        cmake --preset default -DPARVOLIN_BUILD_TESTS=OFF >/dev/null
        cmake --build --preset default --parallel "$jobs" --target package >/dev/null
        cmake --preset windows -DPARVOLIN_BUILD_TESTS=OFF >/dev/null
        cmake --build --preset windows --parallel "$jobs" --target windows-package >/dev/null
        make -s dist >/dev/null
    )
}

echo "Building in $work/first ..."
build "$work/first" 022
echo "Building in $work/second/other-folder ..."
sleep 2  # a later time for anything that would still take the clock's
build "$work/second/other-folder" 002

differences=0
for artefact in "${artefacts[@]}"; do
    one="$work/first/parvolin/$artefact" two="$work/second/other-folder/parvolin/$artefact"
    if cmp -s "$one" "$two"; then
        echo "same: $(sha256sum "$one" | cut -d' ' -f1)  $(basename "$artefact")"
    else
        echo "DIFFERENT: $artefact"
        differences=$((differences + 1))
        if command -v diffoscope >/dev/null; then diffoscope "$one" "$two" | head -n 60 || true; fi
    fi
done
((differences == 0)) && echo "All ${#artefacts[@]} downloads are byte-identical."
((differences == 0))
