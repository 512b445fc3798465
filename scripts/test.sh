#!/usr/bin/env bash
# Sets up, builds (AddressSanitizer + UndefinedBehaviorSanitizer) and runs the
# whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset asan
cmake --build --preset asan
ctest --preset asan "$@"
