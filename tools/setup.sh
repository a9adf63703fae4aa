#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the tools need.
# Idempotent: packages already present are left alone.
set -euo pipefail

packages=(
  cmake ninja-build ccache pkg-config g++ make
  libgtest-dev libgmock-dev libbenchmark-dev
  libboost-dev libboost-serialization-dev libboost-iostreams-dev
  libboost-thread-dev libboost-date-time-dev
  zlib1g-dev libdeflate-dev libcurl4-openssl-dev libssl-dev
  librapidxml-dev libutfcpp-dev libb64-dev libfmt-dev
  libcpp-httplib-dev libsqlite3-dev openssl uuid-dev
  clang libclang-rt-14-dev
  libsdl2-dev libsdl2-ttf-dev libsdl2-mixer-dev libstb-dev
  libgles-dev libegl-dev libegl-mesa0 libgl1-mesa-dri fonts-dejavu-core
  sox lame
  libwebkit2gtk-4.1-dev xvfb xauth libjs-jquery nlohmann-json3-dev
  libjavascriptcoregtk-4.1-dev libayatana-appindicator3-dev
  xdg-utils
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
