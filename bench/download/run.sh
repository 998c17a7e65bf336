#!/usr/bin/env bash
# Download benchmark on loopback, against peers measured in the same run.
#   1. a 256 MiB package: quillon-tool download --type 1 against curl -s -o FILE URL && md5sum FILE
#   2. the two-range downloader (--type 3) against the single-connection one (--type 1) on a
#      server that limits every connection to RATE (nginx limit_rate)
# Usage: bench/download/run.sh [BUILD_DIR]   (environment: RUNS=3, RATE=10m, RATED_MIB=192)
set -euo pipefail
root="$(cd "$(dirname "$0")/../.." && pwd)"
build="${1:-$root/build}"
runs="${RUNS:-3}"
rate="${RATE:-10m}"
rated_mib="${RATED_MIB:-192}"

if [ ! -x "$build/bin/quillon-tool" ]; then
    "$root/scripts/build.sh" "$build"
fi
tool="$build/bin/quillon-tool"
nginx_bin="$(command -v nginx || echo /usr/sbin/nginx)"

work="$(mktemp -d)"
nginx_pid=""
cleanup() {
    [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null && wait "$nginx_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

free_port() {
    python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'
}

publish() {  # publish NAME MIB: prints the address path "/<md5>/NAME"
    local name="$1" mib="$2"
    head -c "$((mib * 1048576))" /dev/urandom > "$work/$name"
    local md5
    md5="$(md5sum "$work/$name" | cut -d' ' -f1)"
    mkdir -p "$work/www/$md5"
    mv "$work/$name" "$work/www/$md5/$name"
    echo "/$md5/$name"
}

plain_port="$(free_port)"
rated_port="$(free_port)"
mkdir -p "$work/www" "$work/nginx"
cat > "$work/nginx/nginx.conf" <<EOF
daemon off;
master_process off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events { worker_connections 64; }
http {
  access_log off;
  sendfile on;
  default_type application/octet-stream;
  client_body_temp_path $work/nginx/body;
  proxy_temp_path $work/nginx/proxy;
  fastcgi_temp_path $work/nginx/fastcgi;
  uwsgi_temp_path $work/nginx/uwsgi;
  scgi_temp_path $work/nginx/scgi;
  server { listen 127.0.0.1:$plain_port; root $work/www; }
  server { listen 127.0.0.1:$rated_port; root $work/www; limit_rate $rate; }
}
EOF
"$nginx_bin" -p "$work/nginx/" -c "$work/nginx/nginx.conf" &
nginx_pid=$!
for _ in $(seq 100); do
    (exec 3<>"/dev/tcp/127.0.0.1/$rated_port") 2>/dev/null && break
    sleep 0.05
done

seconds() {  # seconds COMMAND...: wall-clock seconds of one run; the command must succeed
    local start end
    start="$(date +%s.%N)"
    "$@" > /dev/null
    end="$(date +%s.%N)"
    awk -v a="$start" -v b="$end" 'BEGIN { print b - a }' 
}

median() { sort -g | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }

curl_and_md5() { curl -s -o "$work/curl.bin" "$1" && md5sum "$work/curl.bin"; }

big="$(publish package.bin 256)"
url="http://127.0.0.1:$plain_port$big"
: > "$work/curl.times"
: > "$work/tool.times"
for _ in $(seq "$runs"); do
    rm -f "$work/curl.bin" "$work/tool.bin"
    seconds curl_and_md5 "$url" >> "$work/curl.times"
    rm -f "$work/curl.bin"
    seconds "$tool" download --type 1 "$url" "$work/tool.bin" >> "$work/tool.times"
done
curl_time="$(median < "$work/curl.times")"
tool_time="$(median < "$work/tool.times")"
rm -rf "$work/www${big%/*}" "$work/curl.bin" "$work/tool.bin"

rated="$(publish rated.bin "$rated_mib")"
rated_url="http://127.0.0.1:$rated_port$rated"
single_time="$(seconds "$tool" download --type 1 "$rated_url" "$work/single.bin")"
rm -f "$work/single.bin"
ranges_time="$(seconds "$tool" download --type 3 "$rated_url" "$work/ranges.bin")"

printf 'package 256 MiB, median of %d runs: curl+md5sum %.3f s, quillon --type 1 %.3f s\n' \
    "$runs" "$curl_time" "$tool_time"
printf 'ratio quillon/curl: %.3f (goal at most 1.10)\n' "$(awk -v a="$tool_time" -v b="$curl_time" 'BEGIN { print a / b }')"
printf 'package %d MiB at %s/s per connection: --type 1 %.3f s, --type 3 %.3f s\n' \
    "$rated_mib" "$rate" "$single_time" "$ranges_time"
printf 'speed-up two ranges/one connection: %.3f (goal at least 1.8)\n' \
    "$(awk -v a="$single_time" -v b="$ranges_time" 'BEGIN { print a / b }')"
