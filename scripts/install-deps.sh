#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, when missing.
#   scripts/install-deps.sh [more packages...]   (the fuzzer and the benchmarks add theirs)
set -euo pipefail

packages=(
  cmake ninja-build g++ pkg-config
  qt6-base-dev qt6-base-dev-tools libsqlite3-dev sqlite3 qt6-tools-dev-tools qt6-webengine-dev
  libgl-dev libx11-dev libbenchmark-dev
  xvfb xauth poppler-utils fonts-dejavu-core
  # Free faces close to the fonts the small windows name, and the system information
  # program that About > System Info starts.
  fonts-urw-base35 hardinfo
  # The shared phone book: Qt SQL's PostgreSQL driver, and the server the tests start.
  libqt6sql6-psql libpq-dev postgresql
  "$@"
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
    || missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
