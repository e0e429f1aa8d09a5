#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, and only those that are missing.
# Works as root, or as a user who may use sudo. Never installs wine32 nor adds the i386
# architecture: this kernel cannot run 32-bit code, and with wine32 the wine wrapper picks the
# 32-bit loader.
set -euo pipefail

PACKAGES=(
    cmake ninja-build
    g++-mingw-w64-x86-64 g++-mingw-w64-i686
    wine wine64 fonts-wine
    xvfb xauth openbox xdotool x11-apps imagemagick
    python3 python3-pefile icoutils
    googletest clang libclang-rt-14-dev
)

installed() {
    [[ $(dpkg-query -W -f='${db:Status-Status}' "$1" 2>/dev/null) == installed ]]
}

missing=()
for package in "${PACKAGES[@]}"; do
    installed "$package" || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
    echo "install-deps: all ${#PACKAGES[@]} packages are installed"
    exit 0
fi

sudo=()
if ((EUID != 0)); then
    command -v sudo >/dev/null || { echo "install-deps: not root and no sudo; install: ${missing[*]}" >&2; exit 1; }
    sudo=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
