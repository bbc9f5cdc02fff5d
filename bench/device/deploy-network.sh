#!/usr/bin/env bash
# qelctl deploy of a 5-block layout to 8 simulated panels behind ser2net,
# against the same deploy to one of them. The eight run at once, so the wall
# time should stay near the single one's; the tool only waits on sockets, so
# its CPU should stay a small share of one core. Run from the checkout after
# building qelctl: bench/device/deploy-network.sh [BUILD_DIR]
set -euo pipefail
build=$(realpath "${1:-build}")
qelctl="$build/qelctl"
panels=8
work=$(mktemp -d)
pids=()
cleanup() {
  # ser2net first, so the panels' terminals are free when they stop.
  for ((i = ${#pids[@]} - 1; i >= 0; i--)); do kill "${pids[i]}" 2>/dev/null || true; done
  for p in "${pids[@]}"; do wait "$p" 2>/dev/null || true; done
  rm -rf "$work"
}
trap cleanup EXIT

# A layout of 5 blocks: the new template and a small picture of noise.
"$qelctl" new "$work/base.qel" >/dev/null
python3 - "$work/noise.png" <<'PY'
import random, struct, sys, zlib
random.seed(5)
w, h = 18, 14
raw = b"".join(b"\0" + bytes(random.getrandbits(8) for _ in range(w * 3)) for _ in range(h))
def chunk(t, d):
    return struct.pack(">I", len(d)) + t + d + struct.pack(">I", zlib.crc32(t + d))
open(sys.argv[1], "wb").write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", w, h, 8, 2, 0, 0, 0))
                              + chunk(b"IDAT", zlib.compress(raw)) + chunk(b"IEND", b""))
PY
"$qelctl" add-image "$work/base.qel" "$work/noise.png" --name Noise -o "$work/layout.qel" >/dev/null

config="$work/ser2net.yaml"
: >"$config"
urls=()
for i in $(seq 1 $panels); do
  "$qelctl" simulate >"$work/sim$i.out" 2>/dev/null &
  pids+=($!)
  for _ in $(seq 50); do [ -s "$work/sim$i.out" ] && break; sleep 0.1; done
  pty=$(head -1 "$work/sim$i.out")
  port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
  printf 'connection: &panel%d\n  accepter: telnet(rfc2217),tcp,127.0.0.1,%d\n  connector: serialdev,%s,9600n81,local\n' \
    "$i" "$port" "$pty" >>"$config"
  urls+=("rfc2217://127.0.0.1:$port")
done
ser2net -n -d -u -c "$config" -P "$work/ser2net.pid" >"$work/ser2net.log" 2>&1 &
pids+=($!)
sleep 1

export XDG_DATA_HOME="$work/data"
run() {
  local label=$1; shift
  local args=()
  for u in "$@"; do args+=(--port "$u"); done
  /usr/bin/time -f "%e %U %S" -o "$work/time" "$qelctl" deploy "$work/layout.qel" "${args[@]}" >"$work/out" || true
  read -r wall user sys < <(tail -1 "$work/time")
  ok=$(grep -c " ok: " "$work/out" || true)
  cpu=$(python3 -c "print(f'{100*($user+$sys)/$wall:.2f}')")
  printf '%-10s %d/%d ok  wall %6.2f s  user %5.2f s  sys %5.2f s  CPU %s %% of a core\n' \
    "$label" "$ok" "$#" "$wall" "$user" "$sys" "$cpu"
  echo "$wall" >"$work/wall-$label"
  grep -v " ok: " "$work/out" | tail -n +2 || true
}
echo "layout: $(stat -c %s "$work/layout.qel") bytes"
run "1 panel" "${urls[0]}"
run "8 panels" "${urls[@]}"
python3 -c "print(f'8 panels / 1 panel wall time: {float(open(\"$work/wall-8 panels\").read())/float(open(\"$work/wall-1 panel\").read()):.3f}x')"
