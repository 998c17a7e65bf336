#!/usr/bin/env bash
# The demo: a local package server, then a whole headless setup of the demo product into a
# fresh folder under the user's data folder. On a later run the installation the previous run
# left is removed through its own uninstaller before the new one is made.
# Usage: demo/run-demo.sh BUILD_DIR
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
build="$(cd "${1:?usage: run-demo.sh BUILD_DIR}" && pwd)"
tool="$build/bin/quillon-tool"
data="${XDG_DATA_HOME:-$HOME/.local/share}"

work="$(mktemp -d)"
server_pid=""
cleanup() {
    [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

python3 "$here/package_server.py" --package "$here/quillon-demo-package.sh" --workdir "$work" \
    >"$work/server.out" 2>"$work/server.err" &
server_pid=$!
port=""
for _ in $(seq 100); do
    port="$(sed -n 's/^PORT //p' "$work/server.out")"
    [ -n "$port" ] && break
    kill -0 "$server_pid" 2>/dev/null || { cat "$work/server.err" >&2; exit 1; }
    sleep 0.1
done
[ -n "$port" ] || { echo "run-demo: the package server did not start" >&2; exit 1; }
url="http://127.0.0.1:$port/quillon/latest"
echo "== package server on 127.0.0.1:$port ($url)"

echo "== installation record before"
echo "InstallPath=$("$tool" reg get InstallPath 2>/dev/null || true)"
mkdir -p "$data"
target="$(mktemp -d "$data/quillon-demo.XXXXXX")"
echo "== quillon-tool install --url $url --dir $target"
status=0
"$tool" install --url "$url" --dir "$target" --desktop false --quicklaunch true || status=$?
echo "exit status $status"
# The folder of the installation this run replaced, emptied by its uninstaller.
find "$data" -maxdepth 1 -name 'quillon-demo.*' -type d -empty -delete 2>/dev/null || true
[ "$status" -eq 0 ] || exit "$status"

installed="$("$tool" reg get InstallPath)"
echo "== installation record after"
echo "InstallPath=$installed"
echo "UnInstallEp=$("$tool" reg get UnInstallEp)"
echo "== installed files"
ls -l "$installed"
echo "== set.ini"
cat "$installed/set.ini"
echo "== the product"
"$installed/Quillon.exe"
echo "== run the demo again to remove this installation through its uninstaller and install anew"
