#!/usr/bin/env bash
# check-version.sh QELCTL QELMORVANE VERSION WRITE_VERSION_SCRIPT CMAKE
set -euo pipefail
qelctl=$1 qelmorvane=$2 version=$3 write_version=$4 cmake=$5
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# "NAME VERSION" or, built from a checkout, "NAME VERSION (git describe)".
pattern="^(qelctl|qelmorvane) ${version//./\\.}( \([A-Za-z0-9._+-]+\))?$"
ctl=$("$qelctl" --version)
echo "$ctl"
[[ $ctl =~ $pattern ]] || fail "qelctl printed '$ctl'"

# Without a display: nothing of Qt may start for --help and --version.
nodisplay=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
gui=$("${nodisplay[@]}" "$qelmorvane" --version)
echo "$gui"
[[ $gui =~ $pattern ]] || fail "qelmorvane printed '$gui'"
[ "${gui#qelmorvane }" = "${ctl#qelctl }" ] || fail "the programs disagree on the version"
"${nodisplay[@]}" "$qelmorvane" --help > "$tmp/help" || fail "qelmorvane --help failed"
grep -q "^usage: qelmorvane" "$tmp/help" || fail "qelmorvane --help printed no usage"

# A source tree without .git (a tarball) gives the plain version.
mkdir "$tmp/src"
"$cmake" -DQEL_SOURCE_DIR="$tmp/src" -DQEL_VERSION="$version" -DQEL_VERSION_HEADER="$tmp/v.h" -DQEL_APP_ID=x \
  -P "$write_version"
grep -qx "#define QEL_VERSION_FULL \"$version\"" "$tmp/v.h" || fail "tarball header: $(cat "$tmp/v.h")"
