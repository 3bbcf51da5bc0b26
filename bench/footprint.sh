#!/usr/bin/env bash
# What a resident program costs at rest: CPU, memory, threads, context
# switches, descriptors, disk writes and the time to its first window. Each
# program runs on a private Xvfb display with openbox and trayer, inside its own
# D-Bus session, with a temporary HOME and QUORVANE_DRY_RUN=1.
#
#   bench/footprint.sh [options] [BUILD_DIR] [-- command [args...]]
#
# Without a command it measures BUILD_DIR/src/quorvane (BUILD_DIR defaults to
# $BUILD, else build/). With --both it measures Quorvane and a peer side by
# side (the peer is the command after --, else BUILD_DIR/bench/floor/tray_floor)
# and prints the ratios.
#
# Options:
#   --both          Quorvane and the peer together, with ratios
#   --warmup S      seconds before the window (20)
#   --window S      seconds measured (120)
#   --starts N      separate starts timed to the first visible window (3)
#   --runs N        repeat the whole measurement N times; medians printed (1)
#   --quiet-cpu     the programs read a /proc/stat that shows a quiet machine
#                   (load wandering 5..35 %) through QUORVANE_PROC_ROOT, so
#                   that other work on this machine triggers no CPU-load
#                   warnings; other programs ignore it
#   --keep-logs     keep the temporary HOMEs and logs (their path is printed)
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
warmup=20 window=120 starts=3 runs=1 both=0 keep=0 quiet=0
build=${BUILD:-$here/../build}
cmd=()
args=("$@")
while [ $# -gt 0 ]; do
  case $1 in
    --both) both=1 ;;
    --warmup) warmup=$2; shift ;;
    --window) window=$2; shift ;;
    --starts) starts=$2; shift ;;
    --runs) runs=$2; shift ;;
    --keep-logs) keep=1 ;;
    --quiet-cpu) quiet=1 ;;
    -h|--help) sed -n '2,/^set -e/p' "$0" | sed '$d; s/^# \{0,1\}//'; exit 0 ;;
    --) shift; cmd=("$@"); break ;;
    -*) echo "footprint: unknown option $1" >&2; exit 2 ;;
    *) build=$1 ;;
  esac
  shift
done
build=$(cd "$build" && pwd)
quorvane=$build/src/quorvane
floor=$build/bench/floor/tray_floor
probe=$build/bench/startprobe
for f in "$quorvane" "$probe"; do
  [ -x "$f" ] || { echo "footprint: $f is not built (cmake --build $build)" >&2; exit 2; }
done

# The programs measured: a label and a command line each.
labels=() lines=()
if [ $both = 1 ]; then
  labels+=(quorvane); lines+=("$(printf '%q' "$quorvane")")
  if [ ${#cmd[@]} -gt 0 ]; then
    labels+=("$(basename "${cmd[0]}")"); lines+=("$(printf '%q ' "${cmd[@]}")")
  else
    labels+=(floor); lines+=("$(printf '%q' "$floor")")
  fi
elif [ ${#cmd[@]} -gt 0 ]; then
  labels+=("$(basename "${cmd[0]}")"); lines+=("$(printf '%q ' "${cmd[@]}")")
else
  labels+=(quorvane); lines+=("$(printf '%q' "$quorvane")")
fi

# Outer stage: the measuring stage runs on its own display and session bus.
if [ -z "${FOOTPRINT_INNER:-}" ]; then
  FOOTPRINT_INNER=1 exec "$here/desktop.sh" bash "$0" "${args[@]}"
fi

# Measuring stage.
tck=$(getconf CLK_TCK)
work=$(mktemp -d "${TMPDIR:-/tmp}/footprint.XXXXXX")
pids=() writer=
cleanup() {
  for p in "${pids[@]}" $writer; do kill "$p" 2>/dev/null || true; done
  [ -z "${quiet_root:-}" ] || rm -rf "$quiet_root"
  if [ $keep = 1 ]; then echo "logs and HOMEs kept in $work" >&2; else rm -rf "$work"; fi
}
trap cleanup EXIT

# A /proc/stat of a quiet machine, rewritten every second; memory is real.
# The counters grow by each second's share, so the load read between any two
# versions stays within 5..35 %.
quiet_proc() {
  local root=$1 n t0 last now user=100000 idle=1000000
  n=$(grep -c '^cpu[0-9]' /proc/stat) t0=$(date +%s.%N) last=$t0
  mkdir -p "$root/proc"
  while :; do
    cp /proc/meminfo "$root/proc/meminfo.new" && mv "$root/proc/meminfo.new" "$root/proc/meminfo"
    now=$(date +%s.%N)
    read -r user idle < <(awk -v n="$n" -v hz="$tck" -v t0="$t0" -v last="$last" -v now="$now" \
      -v user="$user" -v idle="$idle" 'BEGIN {
        busy = 0.2 + 0.15 * sin((now - t0) / 40); ticks = (now - last) * hz * n
        printf "%d %d\n", user + ticks * busy, idle + ticks * (1 - busy)
      }')
    last=$now
    awk -v n="$n" -v user="$user" -v idle="$idle" 'BEGIN {
      printf "cpu  %d 0 0 %d 0 0 0 0 0 0\n", user, idle
      for (i = 0; i < n; i++) printf "cpu%d %d 0 0 %d 0 0 0 0 0 0\n", i, user / n, idle / n
    }' >"$root/proc/stat.new" && mv "$root/proc/stat.new" "$root/proc/stat"
    sleep 1
  done
}
extra_env=
if [ $quiet = 1 ]; then
  # On tmpfs: reading a file just replaced on a disk file system updates its
  # access time, which would count as the program writing to disk.
  quiet_root=$(mktemp -d /dev/shm/footprint-quiet.XXXXXX)
  quiet_proc "$quiet_root" &
  writer=$!
  extra_env="QUORVANE_PROC_ROOT=$quiet_root"
  sleep 1
fi

# The environment of a program started with a fresh HOME under DIR.
home_env() {
  local home=$1
  mkdir -p "$home/.config" "$home/run"
  chmod 700 "$home/run"
  echo "HOME=$home XDG_CONFIG_HOME=$home/.config XDG_CACHE_HOME=$home/.cache" \
    "XDG_RUNTIME_DIR=$home/run QUORVANE_DRY_RUN=1 LANG=C.UTF-8 $extra_env"
}

# utime + stime in ticks (field 14 and 15 after the command name).
cpu_ticks() { sed 's/^.*) //' "/proc/$1/stat" | awk '{print $12 + $13}'; }
# CPU time of the live threads in ns, finer than ticks.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{s += $1} END {print s + 0}'; }
# Context switches of every thread.
switches() {
  cat /proc/"$1"/task/*/status 2>/dev/null |
    awk '/^voluntary_ctxt/ {v += $2} /^nonvoluntary_ctxt/ {n += $2} END {print v + 0, n + 0}'
}
field() { awk -v k="$2:" '$1 == k {print $2}' "$1"; }

median() { sort -g | awk '{v[NR] = $1} END {if (NR) print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2)}'; }

# Start-up: separate starts, each with a fresh HOME, alternating between the
# programs so that a burst of load elsewhere hits them alike.
measure_starts() {
  local run=$1 i k
  for i in $(seq "$starts"); do
    for k in "${!labels[@]}"; do
      local home=$work/run$run-start$i-$k
      local ms
      ms=$(eval "env $(home_env "$home") $(printf '%q' "$probe") --timeout 30 -- ${lines[$k]}" \
        2>>"$work/startprobe.log") || ms=
      [ -n "$ms" ] && echo "$ms" >>"$work/run$run-${labels[$k]}.starts"
    done
  done
}

# Steady state: every program at once, a warm-up, then the window.
measure_steady() {
  local run=$1 k
  pids=()
  for k in "${!labels[@]}"; do
    local home=$work/run$run-steady-$k
    # exec: the background job becomes the program itself, so $! is its pid.
    eval "exec env $(home_env "$home") ${lines[$k]}" >"$work/run$run-${labels[$k]}.log" 2>&1 &
    pids+=($!)
  done
  sleep "$warmup"
  local t0 a_ticks=() a_ns=() a_sw=() a_wb=() a_rss=()
  for k in "${!labels[@]}"; do
    local p=${pids[$k]}
    [ -d "/proc/$p" ] || { echo "footprint: ${labels[$k]} ended during the warm-up" >&2; exit 1; }
    a_ticks+=("$(cpu_ticks "$p")") a_ns+=("$(cpu_ns "$p")") a_sw+=("$(switches "$p")")
    a_wb+=("$(field "/proc/$p/io" write_bytes)") a_rss+=("$(field "/proc/$p/status" VmRSS)")
  done
  t0=$(date +%s.%N)
  sleep "$window"
  local t1
  t1=$(date +%s.%N)
  for k in "${!labels[@]}"; do
    local p=${pids[$k]} out=$work/run$run-${labels[$k]}.steady
    [ -d "/proc/$p" ] || { echo "footprint: ${labels[$k]} ended during the window" >&2; exit 1; }
    local ticks ns sw wb
    ticks=$(cpu_ticks "$p") ns=$(cpu_ns "$p") sw=$(switches "$p") wb=$(field "/proc/$p/io" write_bytes)
    {
      awk -v a="${a_ticks[$k]}" -v b="$ticks" -v t="$tck" -v s0="$t0" -v s1="$t1" \
        'BEGIN {s = s1 - s0; ms = (b - a) * 1000 / t
                printf "cpu_ms_per_min %.1f\ncpu_pct_core %.3f\n", ms * 60 / s, ms / s / 10}'
      awk -v a="${a_ns[$k]}" -v b="$ns" -v s0="$t0" -v s1="$t1" \
        'BEGIN {printf "cpu_ms_per_min_schedstat %.1f\n", (b - a) / 1e6 * 60 / (s1 - s0)}'
      echo "rss_kb $(field "/proc/$p/smaps_rollup" Rss)"
      echo "pss_kb $(field "/proc/$p/smaps_rollup" Pss)"
      echo "rss_growth_kb $(($(field "/proc/$p/status" VmRSS) - ${a_rss[$k]}))"
      echo "threads $(field "/proc/$p/status" Threads)"
      set -- ${a_sw[$k]} $sw
      awk -v v0="$1" -v n0="$2" -v v1="$3" -v n1="$4" -v s0="$t0" -v s1="$t1" \
        'BEGIN {m = (s1 - s0) / 60; printf "vol_cs_per_min %.1f\ninvol_cs_per_min %.1f\n",
                (v1 - v0) / m, (n1 - n0) / m}'
      echo "fds $(find "/proc/$p/fd" -mindepth 1 -maxdepth 1 | wc -l)"
      echo "write_bytes $((wb - ${a_wb[$k]}))"
    } >"$out"
  done
  for p in "${pids[@]}"; do kill "$p" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
}

echo "load before: $(cat /proc/loadavg)" >&2
for run in $(seq "$runs"); do
  measure_starts "$run"
  measure_steady "$run"
  echo "run $run of $runs done; load: $(cut -d' ' -f1-3 /proc/loadavg)" >&2
done

# One figure of one program: the median over the runs.
figure() {
  local label=$1 key=$2
  if [ "$key" = startup_ms ]; then
    cat "$work"/run*-"$label".starts 2>/dev/null | median
  else
    cat "$work"/run*-"$label".steady | awk -v k="$key" '$1 == k {print $2}' | median
  fi
}

keys=(cpu_ms_per_min cpu_pct_core cpu_ms_per_min_schedstat rss_kb pss_kb rss_growth_kb threads
  vol_cs_per_min invol_cs_per_min fds write_bytes startup_ms)
cpu_note=
[ $quiet = 1 ] && cpu_note="quiet /proc/stat; "
echo "window ${window}s after ${warmup}s, $runs run(s), $starts start(s) per run; medians;" \
  "${cpu_note}load after: $(cut -d' ' -f1-3 /proc/loadavg)"
{
  printf '%-26s' figure
  for l in "${labels[@]}"; do printf '%14s' "$l"; done
  [ ${#labels[@]} = 2 ] && printf '%10s' ratio
  echo
  for key in "${keys[@]}"; do
    printf '%-26s' "$key"
    vals=()
    for l in "${labels[@]}"; do
      v=$(figure "$l" "$key")
      vals+=("${v:-?}")
      printf '%14s' "${v:-?}"
    done
    if [ ${#labels[@]} = 2 ]; then
      awk -v a="${vals[0]}" -v b="${vals[1]}" \
        'BEGIN {if (b + 0 > 0) printf "%10.2f", a / b; else printf "%10s", "-"}'
    fi
    echo
  done
}
if [ ${#labels[@]} = 2 ]; then
  q=${labels[0]} f=${labels[1]}
  # The two ran side by side in each run, so a busy moment of the machine
  # raises both: the ratio within a run varies less than either figure.
  paired=()
  for run in $(seq "$runs"); do
    paired+=("$(awk -v k=cpu_ms_per_min_schedstat '$1 == k {print $2}' \
      "$work/run$run-$q.steady" "$work/run$run-$f.steady" | paste -sd' ' |
      awk '{if ($2 > 0) printf "%.2f", $1 / $2}')")
  done
  paired_median=$(printf '%s\n' "${paired[@]}" | median)
  echo "CPU ratio by schedstat in each run: ${paired[*]}; median $paired_median"
  awk -v qr="$(figure "$q" rss_kb)" -v fr="$(figure "$f" rss_kb)" \
    -v qs="$(figure "$q" cpu_ms_per_min_schedstat)" -v fs="$(figure "$f" cpu_ms_per_min_schedstat)" \
    -v wb="$(figure "$q" write_bytes)" -v st="$(figure "$q" startup_ms)" -v pr="$paired_median" '
    function verdict(ok) { return ok ? "ok" : "MISSED" }
    BEGIN {
      # Clock ticks are 10 ms: a resting program uses a few in the window, too
      # few for a ratio. The CPU target is judged by schedstat.
      printf "targets: RSS %.2f x (<= 1.5) %s; CPU %.2f x by schedstat, %.2f x within runs" \
        " (<= 2) %s;", qr / fr, verdict(qr / fr <= 1.5), (fs > 0 ? qs / fs : 0), pr,
        verdict(pr != "" && pr <= 2)
      printf " writes %d B (0) %s; start-up %.1f ms (< 150) %s\n",
        wb, verdict(wb == 0), st, verdict(st < 150)
    }'
fi
