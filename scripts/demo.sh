#!/usr/bin/env bash
# The installer's main job on the bundled demo. Installs what is missing and builds first.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="${BUILD_DIR:-$root/build}"
"$root/scripts/install-deps.sh"
"$root/scripts/build.sh" "$build" >/dev/null
export LC_ALL=C.UTF-8

if [ -x "$root/demo/run-demo.sh" ]; then
    exec "$root/demo/run-demo.sh" "$build"
fi

# Until the demo package lands: the start sequence, and the configuration it runs with.
echo "== launch configuration (defaults, INI beside the executable, switches)"
"$build/bin/quillon-tool" config -ischecknet=true "-instcmd=-demo yes"
echo "== installer start and stop"
QUILLON_TRACE=stderr "$build/bin/QuillonSetup" -isenableappanalytics=false
echo "exit status $?"
