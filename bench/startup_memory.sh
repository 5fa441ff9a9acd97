#!/usr/bin/env bash
# Whole-process measurements of Kartavo, run by hand (see README.md here):
#   - the program's start to its map page loaded, from the moment it is launched;
#   - the peak memory of the whole process tree (the program and its QtWebEngineProcess
#     children), RSS and PSS summed, sampled every 50 ms.
# Usage: bench/startup_memory.sh [BUILD_DIR] [RUNS]   (defaults: build-bench, 9)
set -euo pipefail

here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:-$here/../build-bench}")
runs=${2:-9}
kartavo=$build/app/kartavo
bench=$build/bench/bench_pictures
[[ -x $kartavo && -x $bench ]] || { echo "build first: $kartavo, $bench" >&2; exit 1; }

# One X server for every run.
if [[ -z ${DISPLAY:-} ]]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24 -nolisten tcp" "$0" "$build" "$runs"
fi
# Chromium refuses its sandbox as root, and has no GPU under Xvfb.
[[ $(id -u) == 0 ]] && export QTWEBENGINE_DISABLE_SANDBOX=1
export QTWEBENGINE_CHROMIUM_FLAGS=${QTWEBENGINE_CHROMIUM_FLAGS:---disable-gpu}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

median() { sort -n | awk '{ v[NR] = $1 } END {
    if (NR == 0) { print "-"; exit }
    m = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
    printf "%.1f (min %.1f, max %.1f, %d runs)\n", m, v[1], v[NR], NR }'; }

now_ms() { local ns; ns=$(date +%s%N); echo "$((ns / 1000000))"; }

# Milliseconds since the epoch of a trace line's "%{time yyyy-MM-ddThh:mm:ss.zzz}" stamp.
stamp_ms() { local ns; ns=$(date -d "${1/T/ }" +%s%N); echo "$((ns / 1000000))"; }

# Every process under pid, pid first (no forks: sampling must stay light).
tree() {
    local -a queue=("$1")
    local pid child
    while ((${#queue[@]})); do
        pid=${queue[0]}
        queue=("${queue[@]:1}")
        echo "$pid"
        # shellcheck disable=SC2013 # process ids, one word each
        for child in $(cat /proc/"$pid"/task/*/children 2>/dev/null); do queue+=("$child"); done
    done
}

# Samples the tree under pid every 50 ms until it ends or until file $2 exists;
# prints "peak-RSS-sum peak-PSS-sum peak-main-RSS most-processes" in MiB.
sample_tree() {
    local root=$1 stop=$2 peak_rss=0 peak_pss=0 peak_main=0 most=0
    local rss pss count pid key value _
    while kill -0 "$root" 2>/dev/null && [[ ! -e $stop ]]; do
        rss=0 pss=0 count=0
        for pid in $(tree "$root"); do
            while read -r key value _; do
                if [[ $key == VmRSS: ]]; then
                    rss=$((rss + value))
                    [[ $pid == "$root" ]] && ((value > peak_main)) && peak_main=$value
                fi
            done 2>/dev/null <"/proc/$pid/status" || true
            while read -r key value _; do
                [[ $key == Pss: ]] && pss=$((pss + value))
            done 2>/dev/null <"/proc/$pid/smaps_rollup" || true
            count=$((count + 1))
        done
        ((rss > peak_rss)) && peak_rss=$rss
        ((pss > peak_pss)) && peak_pss=$pss
        ((count > most)) && most=$count
        sleep 0.05
    done
    echo "$((peak_rss / 1024)) $((peak_pss / 1024)) $((peak_main / 1024)) $most"
}

# Starts the program with its trace on; waits for the map page (or the no-network page)
# to finish loading. Sets $program_pid, $startup_ms (from launch) and $startup_page.
launch_kartavo() {
    local log=$1 started line
    rm -rf "$work/config" && mkdir -p "$work/config"
    started=$(now_ms)
    XDG_CONFIG_HOME=$work/config QT_LOGGING_RULES="kartavo.trace.debug=true" \
        QT_MESSAGE_PATTERN="%{time yyyy-MM-ddThh:mm:ss.zzz} %{message}" \
        "$kartavo" 2>"$log" &
    program_pid=$!
    for _ in $(seq 3000); do
        line=$(grep -m1 -E "# DocumentComplete: res://[^ ]*/(map|default)\.htm" "$log" || true)
        [[ -n $line ]] && break
        sleep 0.01
    done
    [[ -n $line ]] || { echo "no map page in 30 s" >&2; return 1; }
    startup_ms=$(($(stamp_ms "${line%% *}") - started))
    startup_page=$(grep -oE "(map|default)\.htm" <<<"$line")
}

stop_kartavo() {
    kill -TERM "$program_pid" 2>/dev/null || true
    wait "$program_pid" 2>/dev/null || true
}

echo "Kartavo whole-process measurements, $(date -I), $(nproc) cores, $runs runs each"
echo

# Start to map page: the program itself (GLib's network answer picks the page), then the
# window code in the bench program with the network answer forced online.
: >"$work/pages"
: >"$work/startup"
for ((i = 0; i <= runs; i++)); do
    launch_kartavo "$work/kartavo.log"
    online=$(grep -c "# Online: 1" "$work/kartavo.log" || true)
    stop_kartavo
    ((i > 0)) || continue # the first run warms the caches
    echo "$startup_page online=$online" >>"$work/pages"
    echo "$startup_ms" >>"$work/startup"
done
echo "kartavo launch to map page loaded (ms): $(median <"$work/startup")"
echo "  pages loaded (count, page, online answer):$(sort "$work/pages" | uniq -c | tr -s ' ' | paste -sd,)"

: >"$work/inprocess"
for ((i = 0; i <= runs; i++)); do
    ms=$("$bench" --startup 2>/dev/null | awk '/^startup_ms/ { print $2 }')
    [[ -n $ms ]] || { echo "bench_pictures --startup failed" >&2; exit 1; }
    ((i > 0)) && echo "$ms" >>"$work/inprocess"
done
echo "bench_pictures StartKartavo() to map.htm loaded, online forced (ms): $(median <"$work/inprocess")"
echo

# Memory: the program starting and loading its map, kept 2 s after the load; then the
# same window in the bench program also reading a 12-megapixel picture.
: >"$work/memory-kartavo"
for ((i = 0; i < runs; i++)); do
    rm -f "$work/stop" "$work/kartavo.log"
    rm -rf "$work/config" && mkdir -p "$work/config"
    XDG_CONFIG_HOME=$work/config QT_LOGGING_RULES="kartavo.trace.debug=true" \
        "$kartavo" 2>"$work/kartavo.log" &
    program_pid=$!
    (
        for _ in $(seq 3000); do
            grep -qE "# DocumentComplete: res://[^ ]*/(map|default)\.htm" "$work/kartavo.log" &&
                break
            sleep 0.01
        done
        sleep 2
        touch "$work/stop"
    ) &
    sample_tree "$program_pid" "$work/stop" >>"$work/memory-kartavo"
    wait $!
    stop_kartavo
done

"$bench" --make-picture "$work/big.jpg" 2>/dev/null
: >"$work/memory-bench"
for ((i = 0; i < runs; i++)); do
    "$bench" --once "$work/big.jpg" >/dev/null 2>&1 &
    sample_tree $! "$work/never" >>"$work/memory-bench"
    wait $! || { echo "bench_pictures --once failed" >&2; exit 1; }
done

for what in kartavo bench; do
    if [[ $what == kartavo ]]; then
        echo "kartavo: start, load the map, 2 s more"
    else
        echo "bench_pictures --once: start, load the map, read a 12-megapixel JPEG"
    fi
    echo "  peak RSS, tree sum (MiB):   $(cut -d' ' -f1 "$work/memory-$what" | median)"
    echo "  peak PSS, tree sum (MiB):   $(cut -d' ' -f2 "$work/memory-$what" | median)"
    echo "  peak RSS, main process (MiB): $(cut -d' ' -f3 "$work/memory-$what" | median)"
    echo "  processes in the tree (most): $(cut -d' ' -f4 "$work/memory-$what" | sort -n | tail -1)"
done
