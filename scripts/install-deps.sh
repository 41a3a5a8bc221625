#!/usr/bin/env bash
# Installs the Debian 12 packages the project needs, skipping those present.
# Usage: scripts/install-deps.sh [--test]   (--test adds what the tests use)
set -euo pipefail

packages=(build-essential cmake pkg-config qt6-base-dev libgl-dev
          libxcb1-dev libxcb-xfixes0-dev libxcb-xtest0-dev libxcb-xinput-dev libxcb-keysyms1-dev
          libglib2.0-dev libgtest-dev
          qt6-image-formats-plugins)  # WebP and other pictures in the clip viewer
if [[ "${1:-}" == "--test" ]]; then
    packages+=(xvfb xauth openbox xclip xdotool x11-utils xterm trayer clang libclang-rt-14-dev
               desktop-file-utils shared-mime-info appstream)
fi

missing=()
for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
    echo "Installing: ${missing[*]}"
    if [[ $(id -u) -ne 0 ]]; then sudo=sudo; else sudo=; fi
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
