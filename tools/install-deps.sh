#!/usr/bin/env bash
# Installs the Debian 12 packages the build and the tests need, if missing.
set -euo pipefail

packages=(
    g++ cmake ninja-build pkg-config
    libgtest-dev libbenchmark-dev nlohmann-json3-dev python3
    libgmp-dev libboost-dev python3-sympy
    libmpfr-dev # test only: the reference for the software extended type
    g++-aarch64-linux-gnu qemu-user libgmp-dev:arm64 libgtest-dev:arm64 # tools/build-aarch64.sh
    emscripten nodejs # tools/build-wasm.sh
    chromium # tools/web-test.sh drives the page in it
    qt6-base-dev qt6-svg-dev qt6-translations-l10n libjpeg62-turbo-dev libcups2-dev
    fonts-dejavu-core fonts-liberation
    clang libclang-rt-14-dev
    poppler-utils cups cups-ipp-utils printer-driver-cups-pdf
    dpkg-dev file desktop-file-utils appstream
    locales
)

dpkg --print-foreign-architectures | grep -qx arm64 || dpkg --add-architecture arm64 # for the :arm64 packages
missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if ((${#missing[@]} > 0)); then
    echo "Installing: ${missing[*]}"
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -qq
    apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

# npm comes with Node.js from its own packages; Debian's nodejs has it apart.
if ! command -v npm >/dev/null; then
    echo "Installing: npm"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends npm
fi

# The tests run under the Czech locale our users have, and under a German one
# whose decimal comma and "." grouping differ from both it and C.
wanted_locales=(cs_CZ.UTF-8 de_DE.UTF-8)
generate=false
for name in "${wanted_locales[@]}"; do
    if ! locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}"; then
        sed -i -E "s/^# *(${name//./\\.} UTF-8)$/\1/" /etc/locale.gen
        grep -qx "$name UTF-8" /etc/locale.gen || echo "$name UTF-8" >>/etc/locale.gen
        generate=true
    fi
done
if [[ $generate == true ]]; then
    echo "Generating locales: ${wanted_locales[*]}"
    locale-gen >/dev/null
fi
