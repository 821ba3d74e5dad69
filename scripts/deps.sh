#!/usr/bin/env bash
# Installs the Debian packages vektorling needs, when they are missing and we are root.
# Extra package names given as arguments are installed too.
set -euo pipefail
packages=(g++ cmake make libeigen3-dev libtinyxml2-dev libboost-dev libgtest-dev libbenchmark-dev python3 "$@")
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
if [ "$(id -u)" -eq 0 ]; then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null
  apt-get install -y -qq "${missing[@]}" >/dev/null
else
  echo "missing Debian packages: ${missing[*]} (run as root, or install them with apt-get)" >&2
  exit 1
fi
