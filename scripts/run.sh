#!/usr/bin/env bash
# Sets up, builds and starts Phrasora with the bundled sample archive.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset dev
cmake --build --preset dev
sample=build/dev/bin/sample/Beispiele.phr
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  echo "No graphical session (DISPLAY is not set); showing the sample archive as the store reads it:" >&2
  exec build/dev/bin/phrasora-cli dump "$sample"
fi
exec build/dev/bin/phrasora "$sample" "$@"
