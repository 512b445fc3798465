#!/usr/bin/env bash
# Sets up, builds and starts Phrasora with the bundled sample archive.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
cmake --preset dev
cmake --build --preset dev
# Until the main window exists, show the sample archive as the store reads it.
exec build/dev/bin/phrasora-cli dump build/dev/bin/sample/Beispiele.phr "$@"
