#!/usr/bin/env bash
# Sets up everything on a fresh Debian machine: system packages, the project's
# Python environment and Node packages, and the build. Safe to run again.
set -euo pipefail
cd "$(dirname "$0")"

APT_PACKAGES=(
  build-essential cmake ninja-build pkg-config git
  zlib1g-dev libpugixml-dev libzip-dev zipcmp zipmerge ziptool
  libcurl4-openssl-dev libcpp-httplib-dev
  libgtest-dev libgmock-dev libbenchmark-dev pybind11-dev
  clang libclang-rt-14-dev
  python3-venv python3-pyftpdlib python3-openssl openssl
  chromium
  unzip poppler-utils
)

as_root() { if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${APT_PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "ok installed" || missing+=("$p")
done
# Node.js may come from elsewhere than Debian (its own npm included); take
# Debian's only when there is none.
command -v node >/dev/null 2>&1 || missing+=(nodejs)
command -v npm >/dev/null 2>&1 || missing+=(npm)
if [ ${#missing[@]} -gt 0 ]; then
  echo "== installing system packages: ${missing[*]}"
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# The project's Python environment: the engine's extension is built for it and
# the templates' build scripts run in it.
PYTHON=${PYTHON:-python3}
if [ ! -x .venv/bin/python ]; then
  echo "== creating .venv with $($PYTHON --version)"
  "$PYTHON" -m venv .venv
fi
.venv/bin/python -m pip install -q --upgrade pip
if [ -f requirements.txt ]; then
  echo "== installing Python packages"
  .venv/bin/python -m pip install -q -r requirements.txt
fi

if [ -f package-lock.json ]; then
  echo "== installing Node packages"
  npm ci --no-audit --no-fund --loglevel=error
fi

echo "== building"
cmake --preset default -DPython3_EXECUTABLE="$PWD/.venv/bin/python" >/dev/null
cmake --build --preset default

# Put the command-line host on PATH.
if [ -x build/bin/velm ]; then
  if [ -w /usr/local/bin ]; then bindir=/usr/local/bin; else bindir="$HOME/.local/bin"; mkdir -p "$bindir"; fi
  ln -sf "$PWD/build/bin/velm" "$bindir/velm"
  echo "== velm is at $bindir/velm"
fi
echo "== setup done"
