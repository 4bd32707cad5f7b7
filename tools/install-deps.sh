#!/usr/bin/env bash
# Installs the Debian packages of tools/debian-packages.txt that are missing. Quiet and quick when none is.
set -euo pipefail
list="$(dirname "$0")/debian-packages.txt"
missing=()
while read -r package _; do
    [[ -z "$package" || "$package" == \#* ]] && continue
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$package")
done <"$list"
[[ ${#missing[@]} -eq 0 ]] && exit 0
echo "Installing missing Debian packages: ${missing[*]}"
sudo=()
[[ $(id -u) -eq 0 ]] || sudo=(sudo)
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -qq
"${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
