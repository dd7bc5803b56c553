#!/usr/bin/env bash
# Runs every test of the project (C++, Python, JavaScript and browser) through CTest.
set -euo pipefail
cd "$(dirname "$0")"
ctest --preset default -j "$(nproc)" "$@"
