#!/usr/bin/env bash
# Builds what is missing and runs kchost, the CAD host with the whole suite loaded, passing on
# its arguments (none: an interactive command line).
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
cd "$root"
scripts/deps.sh
[ -f build/build.ninja ] || cmake --preset default >/dev/null
cmake --build --preset default >/dev/null
exec "$root/build/bin/kchost" "$@"
