#!/bin/bash
# Runs every benchmark and prints one table: each figure measured side by side with its yardstick in the same run.
# Usage: bash bench/run.sh        (as root on Debian 12 it installs what it needs; runs its own X server)
set -euo pipefail
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$root/scripts/packages.sh"
QUORVEL_PACKAGES+=(nginx-light curl unzip)
ensure_packages
ensure_runtime_dir "${QUORVEL_BENCH_BUILD_DIR:-$root/build-bench}/runtime"

# The window figures need a real X server; the rest of the run shares it.
if [ -z "${QUORVEL_BENCH_IN_X:-}" ]; then
    export QUORVEL_BENCH_IN_X=1
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" bash "${BASH_SOURCE[0]}" "$@"
fi

build=${QUORVEL_BENCH_BUILD_DIR:-$root/build-bench}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUORVEL_BUILD_TESTS=OFF -DQUORVEL_BENCH=ON \
    > /dev/null
cmake --build "$build" > /dev/null
quorvel=$build/src/quorvel/quorvel
minimal=$build/bench/bench_minimal_window

work=$(mktemp -d)
chmod 755 "$work" # nginx's workers read the served files as an unprivileged user
service=
nginx_pid=
shm=
cleanup() {
    [ -n "$service" ] && kill "$service" 2>/dev/null || true
    [ -n "$nginx_pid" ] && kill "$nginx_pid" 2>/dev/null || true
    pkill -9 -f "$work/" 2>/dev/null || true
    rm -rf "$work" ${shm:+"$shm"}
}
trap cleanup EXIT

rows=()
# row FIGURE MEASURED RATIO TARGET PASSED
row() { rows+=("$1|$2|$3|$4|$([ "$5" = 1 ] && echo yes || echo NO)"); }
median() { sort -g | awk '{v[NR]=$1} END {print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2}'; }
calc() { python3 -c "print($1)"; }
check() { python3 -c "import sys; sys.exit(0 if ($1) else 1)" && echo 1 || echo 0; }
# throughput_row FIGURE MIB OURS_FILE THEIRS_FILE TARGET: medians of the two sides' seconds for MIB, as speeds.
throughput_row() {
    local ours theirs ratio
    ours=$(median < "$3")
    theirs=$(median < "$4")
    ratio=$(calc "round($theirs / $ours, 2)")
    row "$1" "$(calc "round($2 / $ours)") MiB/s vs $(calc "round($2 / $theirs)") MiB/s" "$ratio" ">= $5" \
        "$(check "$ratio >= $5")"
}

# The launcher talks to the simulated vendor service, which answers with every product's latest version.
export XDG_DATA_HOME=$work/data QUORVEL_PROGRAM_FILES=$work/programs
mkdir -p "$XDG_DATA_HOME" "$QUORVEL_PROGRAM_FILES"
answer="ok;2.41;5.12;1.30;4.07;3.55;2.08;1.64;1.78;2.93;1.17;1.02;0;109$(printf ';0%.0s' $(seq 14 41));0000"
printf '{"routes": {"/vrs.php": [{"body": "%s"}]}}' "$answer" > "$work/vendor.json"
python3 "$root/tests/support/vendor_service.py" --config "$work/vendor.json" --log "$work/requests.log" \
    --ready "$work/ready.json" --cert-dir "$work/cert" &
service=$!
for _ in $(seq 300); do [ -f "$work/ready.json" ] && break; sleep 0.1; done
port=$(python3 -c 'import json, sys; print(json.load(open(sys.argv[1]))["port"])' "$work/ready.json")
export QUORVEL_HOST=127.0.0.1:$port CURL_CA_BUNDLE=$work/cert/cert.pem

echo "Start-up: 20 runs each, alternating" >&2
for _ in $(seq 20); do
    "$build/bench/bench_map_timer" 861 702 "$minimal" >> "$work/start-minimal"
    "$build/bench/bench_map_timer" 861 702 "$quorvel" >> "$work/start-launcher"
done
start_minimal=$(median < "$work/start-minimal")
start_launcher=$(median < "$work/start-launcher")
ratio=$(calc "round($start_launcher / $start_minimal, 2)")
row "start to window mapped (median of 20)" "$(calc "round($start_launcher / 1000)") ms vs $(calc "round($start_minimal / 1000)") ms" \
    "$ratio" "<= 1.25" "$(check "$ratio <= 1.25")"

# rss_kib PID, cpu_ms PID: from /proc.
rss_kib() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
cpu_ms() { awk -v hz="$(getconf CLK_TCK)" '{print ($14 + $15) * 1000 / hz}' "/proc/$1/stat"; }

echo "Idle memory and CPU after the reveal" >&2
"$minimal" &
minimal_pid=$!
"$quorvel" &
launcher_pid=$!
sleep 5 # the reveal and the version answer are over
idle_minimal=$(rss_kib "$minimal_pid")
idle_launcher=$(rss_kib "$launcher_pid")
cpu_before=$(cpu_ms "$launcher_pid")
sleep 10
cpu_after=$(cpu_ms "$launcher_pid")
kill "$minimal_pid" "$launcher_pid"
wait "$minimal_pid" "$launcher_pid" 2>/dev/null || true
ratio=$(calc "round($idle_launcher / $idle_minimal, 2)")
row "resident memory idle after the reveal" "$((idle_launcher / 1024)) MiB vs $((idle_minimal / 1024)) MiB" \
    "$ratio" "<= 1.5" "$(check "$ratio <= 1.5")"
cpu=$(calc "round($cpu_after - $cpu_before)")
row "CPU time while the window waits 10 s" "$cpu ms" "-" "< 50 ms" "$(check "$cpu < 50")"

echo "The pause while events keep arriving" >&2
read -r pause_median pause_worst _ < <("$build/bench/bench_sleepapm")
row "sleepapm(1000) while events arrive (median, worst of 5)" "$pause_median ms, $pause_worst ms" "-" \
    "1000 to 1050 ms" "$(check "1000 <= $pause_median and $pause_worst <= 1050")"

echo "Downloads over loopback HTTPS from nginx" >&2
# Downloads land in memory when it can hold them, so disk write-back does not decide which side wins.
out=$work/out
shm=$(mktemp -d -p /dev/shm 2>/dev/null || true)
[ -n "$shm" ] && out=$shm
mkdir -p "$work/www" "$work/nginx" "$out"
openssl req -x509 -newkey rsa:2048 -nodes -keyout "$work/nginx/key.pem" -out "$work/nginx/cert.pem" -days 1 \
    -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 2> /dev/null
chmod 644 "$work/nginx/key.pem"
nginx_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat > "$work/nginx/nginx.conf" <<CONF
daemon off;
worker_processes 1;
pid $work/nginx/nginx.pid;
error_log $work/nginx/error.log;
events {}
http {
    access_log off;
    client_body_temp_path $work/nginx; proxy_temp_path $work/nginx; fastcgi_temp_path $work/nginx;
    uwsgi_temp_path $work/nginx; scgi_temp_path $work/nginx;
    sendfile on;
    server {
        listen 127.0.0.1:$nginx_port ssl;
        ssl_certificate $work/nginx/cert.pem;
        ssl_certificate_key $work/nginx/key.pem;
        root $work/www;
    }
}
CONF
nginx -c "$work/nginx/nginx.conf" -p "$work/nginx" &
nginx_pid=$!
for _ in $(seq 50); do curl -s -o /dev/null --cacert "$work/nginx/cert.pem" "https://127.0.0.1:$nginx_port/" && break; sleep 0.1; done
head -c 64M /dev/urandom > "$work/www/file64"
head -c 1G /dev/urandom > "$work/www/file1024"
chmod 644 "$work/www"/file*
seconds_of() { local s; s=$(date +%s.%N); "$@" > /dev/null; calc "$(date +%s.%N) - $s"; }

for size in 64 1024; do
    url=https://127.0.0.1:$nginx_port/file$size
    : > "$work/curl-$size"
    : > "$work/worker-$size"
    : > "$work/growth-$size"
    for _ in 1 2 3 4 5; do
        seconds_of curl -s --cacert "$work/nginx/cert.pem" -o "$out/curl" "$url" >> "$work/curl-$size"
        rm -f "$out/curl"
        CURL_CA_BUNDLE=$work/nginx/cert.pem "$build/bench/bench_download" "$url" "$out" worker > "$work/w"
        cmp -s "$out/worker" "$work/www/file$size" || { echo "the worker's file differs from the served one" >&2; exit 1; }
        rm -f "$out/worker"
        read -r seconds before peak < "$work/w"
        echo "$seconds" >> "$work/worker-$size"
        echo $(((peak - before) / 1024)) >> "$work/growth-$size"
    done
    growth=$(sort -n "$work/growth-$size" | tail -n1)
    row "peak memory growth during a $size MiB download" "$growth MiB" "-" "< 32 MiB" "$(check "$growth < 32")"
done
throughput_row "1 GiB download throughput, worker vs curl -o (median of 5)" 1024 "$work/worker-1024" \
    "$work/curl-1024" 0.95
rm -f "$work/www"/file*

echo "Extraction of a 256 MiB installer" >&2
mkdir -p "$work/zip" "$work/x-unzip" "$work/x-ours"
# Partly compressible, as programs are: random blocks between copies of a real library.
library=$(find /usr/lib -name 'libQt6Widgets.so.6*' -type f | head -n1)
while [ "$(stat -c %s "$work/zip/instalar.exe" 2>/dev/null || echo 0)" -lt $((256 * 1024 * 1024)) ]; do
    cat "$library" >> "$work/zip/instalar.exe"
    head -c 4M /dev/urandom >> "$work/zip/instalar.exe"
done
truncate -s 256M "$work/zip/instalar.exe"
(cd "$work/zip" && zip -q -6 "$work/installer.zip" instalar.exe)
rm -f "$work/zip/instalar.exe"
: > "$work/unzip"
: > "$work/ours"
for _ in 1 2 3; do
    seconds_of unzip -o -q "$work/installer.zip" instalar.exe -d "$work/x-unzip" >> "$work/unzip"
    "$build/bench/bench_extract" "$work/installer.zip" instalar.exe "$work/x-ours" >> "$work/ours"
    cmp -s "$work/x-unzip/instalar.exe" "$work/x-ours/instalar.exe" || { echo "the extracted files differ" >&2; exit 1; }
done
throughput_row "256 MiB extraction throughput, ours vs unzip -o (median of 3)" 256 "$work/ours" "$work/unzip" 0.9

echo
printf '| %s | %s | %s | %s | %s |\n' Figure Measured Ratio Target Met
printf '|---|---|---|---|---|\n'
for r in "${rows[@]}"; do
    IFS='|' read -r figure measured ratio target met <<< "$r"
    printf '| %s | %s | %s | %s | %s |\n' "$figure" "$measured" "$ratio" "$target" "$met"
done
