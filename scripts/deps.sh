#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with, when any is missing.
set -euo pipefail
packages=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libicu-dev libmuparser-dev
  libfreetype-dev libfontconfig-dev libpng-dev libxml2-dev fonts-arphic-uming fonts-liberation
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  sudo_cmd=""
  [ "$(id -u)" -ne 0 ] && sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${missing[@]}"
fi
