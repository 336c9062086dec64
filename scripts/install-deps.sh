#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing Varnel need, and only those missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev libvulkan-dev
    # Password hashes (crypt_rn); the tests read the slips back with pdftotext.
    libcrypt-dev poppler-utils
    # The tests complete command lines with bash's completion helpers, and show the program a terminal
    # with script.
    bash-completion bsdutils
    # Login names from people's names: ICU's transliteration.
    libicu-dev
    # The tests read the records back with real readers (Python's csv and json).
    python3
    # The tests read the LDIF files back with Python's LDIF reader.
    python3-ldap
    # Random bytes: ChaCha20, keyed from the kernel.
    libsodium-dev
    fonts-dejavu-core
    # Second faces: the window tests run once more with the default faces hidden, these serving instead.
    fontconfig fonts-noto-mono fonts-liberation2
    clang-format
    # The window on a desktop with Wayland alone.
    qt6-wayland
    dpkg-dev desktop-file-utils appstream lintian
    # hardening-check, which the package check runs on the binaries.
    devscripts
)
if [ "${1:-}" = "--fuzz" ]; then
    packages+=(clang libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$p")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing missing packages: ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
    sudo=()
elif command -v sudo >/dev/null 2>&1; then
    sudo=(sudo)
else
    echo "These packages are missing and neither root nor sudo is available: ${missing[*]}" >&2
    exit 1
fi
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
