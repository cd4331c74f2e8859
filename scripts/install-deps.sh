#!/usr/bin/env bash
# Installs every Debian package that building, testing and running Slidesmith needs.
# Idempotent: when everything is present it only checks and returns.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config clang clang-format
    libgtest-dev libgmock-dev libbenchmark-dev
    libzip-dev libpugixml-dev libdeflate-dev zlib1g-dev
    locales
    unixodbc unixodbc-dev odbcinst libsqliteodbc odbc-postgresql sqlite3
    postgresql
    libcurl4-openssl-dev librsvg2-dev
    qt6-base-dev xvfb xauth
    libreoffice-impress libreoffice-calc poppler-utils python3-openpyxl
    fonts-dejavu-core fonts-liberation2
)

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
if [[ $(id -u) -ne 0 ]]; then
    SUDO=sudo
else
    SUDO=
fi
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
