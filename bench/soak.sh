#!/usr/bin/env bash
# Days of the resident program in minutes: the real binary under libfaketime
# at 60x on a private display (openbox, trayer, its own D-Bus session), with a
# temporary HOME and QUORVANE_DRY_RUN=1. Samples RSS, descriptors and disk
# writes, and checks that memory and descriptors stay flat and nothing is
# written after the warm-up.
#
#   bench/soak.sh [options] [BUILD_DIR] [-- command [args...]]
#
# Options:
#   --minutes M      real minutes to run (10, i.e. 10 program hours at 60x)
#   --every S        real seconds between samples (30)
#   --warmup S       real seconds before the baseline sample (60)
#   --speed N        the clock rate (60)
#   --speed-check S  first count /proc/stat reads for S real seconds at 1x and
#                    at the clock rate (strace), to show the timers really
#                    run that much faster (0: skip; default 20)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
minutes=10 every=30 warmup=60 speed=60 check=20
build=${BUILD:-$here/../build}
cmd=()
args=("$@")
while [ $# -gt 0 ]; do
  case $1 in
    --minutes) minutes=$2; shift ;;
    --every) every=$2; shift ;;
    --warmup) warmup=$2; shift ;;
    --speed) speed=$2; shift ;;
    --speed-check) check=$2; shift ;;
    -h|--help) sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    --) shift; cmd=("$@"); break ;;
    -*) echo "soak: unknown option $1" >&2; exit 2 ;;
    *) build=$1 ;;
  esac
  shift
done
[ ${#cmd[@]} -gt 0 ] || cmd=("$(cd "$build" && pwd)/src/quorvane")
faketime_lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1
[ -r "$faketime_lib" ] || { echo "soak: $faketime_lib missing (apt-get install faketime)" >&2; exit 2; }

if [ -z "${SOAK_INNER:-}" ]; then
  SOAK_INNER=1 exec "$here/desktop.sh" bash "$0" "${args[@]}"
fi

work=$(mktemp -d "${TMPDIR:-/tmp}/soak.XXXXXX")
pid=
trap '[ -n "$pid" ] && kill $pid 2>/dev/null; rm -rf "$work"' EXIT

# Starts the command with a fresh HOME at the given clock rate; sets $pid.
start() {
  local rate=$1 home=$work/home-$1
  mkdir -p "$home/.config" "$home/run"
  chmod 700 "$home/run"
  local clock=()
  # libfaketime shortens the timeouts of poll() but not of ppoll(), which
  # Qt's own event loop waits in: GLib's loop (an empty QT_NO_GLIB) lets the
  # timers run at the clock rate.
  [ "$rate" = 1 ] ||
    clock=(LD_PRELOAD="$faketime_lib" FAKETIME="+0 x$rate" FAKETIME_DONT_RESET=1 QT_NO_GLIB=)
  env "${clock[@]}" HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
    XDG_RUNTIME_DIR="$home/run" QUORVANE_DRY_RUN=1 LANG=C.UTF-8 \
    "${cmd[@]}" >"$work/log-$rate" 2>&1 &
  pid=$!
}
stop() { kill "$pid" 2>/dev/null || true; wait "$pid" 2>/dev/null || true; pid=; }
field() { awk -v k="$2:" '$1 == k {print $2}' "$1"; }

# The CPU-load sampler reads /proc/stat on its timers: at N times the clock
# rate it must read N times as often.
if [ "$check" != 0 ]; then
  command -v strace >/dev/null || { echo "soak: strace missing" >&2; exit 2; }
  reads() {
    start "$1"
    sleep 15
    # Each reading reads the file from offset 0, once.
    timeout -s INT "$check" strace -f -qq -y -e trace=pread64 -p "$pid" -o "$work/trace-$1" || true
    stop
    count=$(grep -cE 'pread64\([0-9]+</proc/stat>.*, 0\) += [0-9]' "$work/trace-$1" || true)
  }
  reads 1
  slow=$count
  reads "$speed"
  fast=$count
  awk -v s="$slow" -v f="$fast" -v t="$check" -v r="$speed" 'BEGIN {
    printf "speed check: /proc/stat read %d times in %d s at 1x, %d times at %dx: %.1fx faster\n",
      s, t, f, r, (s > 0 ? f / s : 0) }'
fi

start "$speed"
total=$((minutes * 60))
[ "$total" -gt "$warmup" ] || { echo "soak: the run must outlast the ${warmup}s warm-up" >&2; exit 2; }
printf '%8s %10s %10s %10s %6s %8s %12s\n' real_s program_h rss_kb pss_kb fds threads write_bytes
t=0 base_rss= base_wb= fds_min= fds_max= rows=()
while :; do
  [ -d "/proc/$pid" ] || { echo "soak: the program ended after $t s; see its log:" >&2; tail "$work/log-$speed" >&2; exit 1; }
  rss=$(field "/proc/$pid/status" VmRSS)
  pss=$(field "/proc/$pid/smaps_rollup" Pss)
  fds=$(find "/proc/$pid/fd" -mindepth 1 -maxdepth 1 | wc -l)
  threads=$(field "/proc/$pid/status" Threads)
  wb=$(field "/proc/$pid/io" write_bytes)
  printf '%8d %10.1f %10d %10d %6d %8d %12d\n' "$t" "$(awk -v t="$t" -v r="$speed" 'BEGIN {print t * r / 3600}')" \
    "$rss" "$pss" "$fds" "$threads" "$wb"
  if [ "$t" -ge "$warmup" ]; then
    if [ -z "$base_rss" ]; then base_rss=$rss base_wb=$wb fds_min=$fds fds_max=$fds; fi
    [ "$fds" -lt "$fds_min" ] && fds_min=$fds
    [ "$fds" -gt "$fds_max" ] && fds_max=$fds
    last_rss=$rss last_wb=$wb
  fi
  [ "$t" -ge "$total" ] && break
  step=$every
  [ $((t + step)) -gt "$total" ] && step=$((total - t))
  sleep "$step"
  t=$((t + step))
done
stop

growth=$((last_rss - base_rss))
written=$((last_wb - base_wb))
verdict() { if [ "$1" = 1 ]; then echo ok; else echo MISSED; fi; }
echo "after the ${warmup}s warm-up: RSS grew $growth kB (< 1024) $(verdict $((growth < 1024)));" \
  "fds $fds_min..$fds_max (constant) $(verdict $((fds_min == fds_max)));" \
  "wrote $written bytes (0) $(verdict $((written == 0)))"
