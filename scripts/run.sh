#!/usr/bin/env bash
# Sets the machine up, builds Korvel and starts it.
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/setup.sh"
private_runtime_dir
build "$root/build" -DCMAKE_BUILD_TYPE=Release
"$root/build/korvel"
