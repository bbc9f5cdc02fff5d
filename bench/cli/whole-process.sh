#!/usr/bin/env bash
# Whole qelctl processes on the layout near the template limit (40 pages, 25
# pictures of 320 x 240): loading alone, then resave, dump, check and diff,
# each as CPU time (user + sys, steady beside other work) and wall time, and
# their ratio to loading alone. Then render --all of the 40 pages with the
# file system's syncs and with them made no-ops, to show what durability
# costs. Run from the checkout after building:
#   bench/cli/whole-process.sh [BUILD_DIR] [RUNS]
set -euo pipefail
build=$(realpath "${1:-build}")
runs=${2:-15}
qelctl="$build/qelctl"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
"$build/bench-tools/near_limit_template" NL.qel
cp NL.qel NL2.qel
cat >nosync.c <<'C'
int fsync(int fd) { (void)fd; return 0; }
int fdatasync(int fd) { (void)fd; return 0; }
int syncfs(int fd) { (void)fd; return 0; }
C
cc -shared -fPIC -O2 -o nosync.so nosync.c

# Prints "WALL CPU" in milliseconds, the medians of the runs after a warm-up.
measure() {
  local walls=() cpus=() t line
  TIMEFORMAT='%3R %3U %3S'
  for ((i = 0; i <= runs; i++)); do
    line=$({ time eval "$1" >/dev/null 2>&1; } 2>&1 | tail -n 1)
    ((i == 0)) && continue
    read -r real user sys <<<"$line"
    walls+=("$real")
    cpus+=("$(awk -v u="$user" -v s="$sys" 'BEGIN { print u + s }')")
  done
  printf '%s %s\n' \
    "$(printf '%s\n' "${walls[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")" \
    "$(printf '%s\n' "${cpus[@]}" | sort -n | sed -n "$(((runs + 1) / 2))p")"
}
ms() { awk -v x="$1" 'BEGIN { printf "%d", x * 1000 }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }

read -r load_wall load_cpu <<<"$(measure "\"$qelctl\" render NL.qel 99999 -o x.png")"
printf '%-12s %8s %8s %8s\n' command 'wall ms' 'cpu ms' '÷ load'
printf '%-12s %8s %8s %8s\n' load "$(ms "$load_wall")" "$(ms "$load_cpu")" 1.00
for c in "resave NL.qel out.qel" "dump NL.qel -o out.json" "check NL.qel" "diff NL.qel NL2.qel"; do
  read -r wall cpu <<<"$(measure "\"$qelctl\" $c")"
  printf '%-12s %8s %8s %8s\n' "${c%% *}" "$(ms "$wall")" "$(ms "$cpu")" "$(ratio "$cpu" "$load_cpu")"
done
read -r synced _ <<<"$(measure "rm -rf R; \"$qelctl\" render NL.qel --all R")"
read -r unsynced _ <<<"$(measure "rm -rf R; LD_PRELOAD=$work/nosync.so \"$qelctl\" render NL.qel --all R")"
printf 'render --all of 40 pages: %s ms, with syncs as no-ops %s ms (%s×)\n' \
  "$(ms "$synced")" "$(ms "$unsynced")" "$(ratio "$synced" "$unsynced")"
