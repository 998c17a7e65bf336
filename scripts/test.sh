#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test.
# Usage: scripts/test.sh [BUILD_DIR] [extra cmake args...]
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${1:-$root/build}"
shift || true
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build" "$@"
export LC_ALL=C.UTF-8
ctest --test-dir "$build" --output-on-failure -j"$(nproc)" --timeout 600
