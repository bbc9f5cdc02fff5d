#!/usr/bin/env bash
# check-installed.sh install ROOT APP_ID CMAKE BUILD_DIR: install afresh into ROOT (the prefix)
# check-installed.sh CHECK ROOT APP_ID: one check of that tree
set -euo pipefail
check=$1 root=$2 app_id=$3
share=$root/share
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

case $check in
install)
  rm -rf "$root"
  DESTDIR= "$4" --install "$5" --prefix "$root" > "$tmp/install.log" || { cat "$tmp/install.log"; exit 1; }
  ;;
desktop-entry)
  desktop-file-validate "$share/applications/$app_id.desktop"
  grep -qx "Exec=qelmorvane %f" "$share/applications/$app_id.desktop" || fail "Exec does not take a file"
  grep -q "^Exec=qelctl render %i 1 --thumbnail %s -o %o$" "$share/thumbnailers/qelmorvane.thumbnailer" ||
    fail "thumbnailer entry"
  for size in 16 32 48 64 128 256; do
    [ -f "$share/icons/hicolor/${size}x${size}/apps/$app_id.png" ] || fail "no ${size}px icon"
  done
  [ -f "$share/icons/hicolor/scalable/apps/$app_id.svg" ] || fail "no scalable icon"
  for kind in template user-page firmware; do
    [ -f "$share/icons/hicolor/scalable/mimetypes/application-x-qel-$kind.svg" ] || fail "no icon for $kind"
  done
  ;;
metainfo)
  appstreamcli validate --no-net --pedantic "$share/metainfo/$app_id.metainfo.xml"
  grep -q "<project_license>GPL-3.0-or-later</project_license>" "$share/metainfo/$app_id.metainfo.xml" ||
    fail "licence not named"
  ;;
mime)
  # A private data home holding only our package, as a desktop's would.
  mkdir -p "$tmp/data/mime/packages"
  cp "$share/mime/packages/qelmorvane.xml" "$tmp/data/mime/packages/"
  update-mime-database "$tmp/data/mime"
  "$root/bin/qelctl" new "$tmp/lobby.qel"
  cp "$tmp/lobby.qel" "$tmp/template-without-extension"
  printf '\xd6\xca\xad\xab\x01\x00\x00\x00' > "$tmp/page-without-extension"
  printf 'firmware' > "$tmp/panel.qfw"
  printf '\xd5\xca\xad\xac\x01\x00\x00\x00' > "$tmp/wrong-magic"
  query() {
    env -u XDG_CURRENT_DESKTOP -u DESKTOP_SESSION -u KDE_FULL_SESSION -u GNOME_DESKTOP_SESSION_ID \
      -u MATE_DESKTOP_SESSION_ID XDG_DATA_HOME="$tmp/data" XDG_DATA_DIRS=/usr/share \
      xdg-mime query filetype "$1"
  }
  expect() {
    local got
    got=$(query "$tmp/$1")
    echo "$1: $got"
    [ "$got" = "$2" ] || fail "$1 is $got, not $2"
  }
  expect lobby.qel application/x-qel-template
  expect template-without-extension application/x-qel-template
  expect page-without-extension application/x-qel-user-page
  expect panel.qfw application/x-qel-firmware
  got=$(query "$tmp/wrong-magic")
  [[ $got != application/x-qel-* ]] || fail "wrong-magic taken for $got"
  ;;
man-pages)
  for page in qelctl qelmorvane; do
    file=$(find "$root" -path "*/man1/$page.1*" | head -n 1)
    [ -n "$file" ] || fail "no man page $page"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >"$tmp/$page.txt")
    [ -z "$warnings" ] || fail "$page(1): $warnings"
    grep -q "EXIT STATUS" "$tmp/$page.txt" || fail "$page(1) did not render"
  done
  # Every command qelctl knows has its place in the man page.
  "$root/bin/qelctl" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' > "$tmp/commands"
  [ -s "$tmp/commands" ] || fail "qelctl --help listed no commands"
  while read -r command; do
    grep -q "^       $command\b" "$tmp/qelctl.txt" || fail "qelctl(1) lacks $command"
  done < "$tmp/commands"
  ;;
completion)
  file=$share/bash-completion/completions/qelctl
  bash -n "$file"
  "$root/bin/qelctl" --help | awk '/^Commands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' > "$tmp/commands"
  while read -r command; do
    grep -qw -- "$command" "$file" || fail "completion lacks $command"
  done < "$tmp/commands"
  # What a Tab offers, in a folder of one file of each kind.
  touch "$tmp/a.qel" "$tmp/b.qup" "$tmp/c.qfw" "$tmp/d.json" "$tmp/e.png"
  complete_line() { # prints the words offered for the command line $1 (ending where Tab is pressed)
    (cd "$tmp" && bash -c '
      source /usr/share/bash-completion/bash_completion
      source "$1"
      read -ra COMP_WORDS <<< "$2"
      [[ $2 == *" " ]] && COMP_WORDS+=("")
      COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
      COMP_LINE=$2 COMP_POINT=${#2}
      _qelctl qelctl "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
      printf "%s\n" "${COMPREPLY[@]}" | sort | tr "\n" " "' _ "$file" "$1")
  }
  expect() {
    local got
    got=$(complete_line "$1")
    echo "'$1' -> $got"
    [ "$got" = "$2" ] || fail "'$1' offered '$got', not '$2'"
  }
  expect "qelctl re" "remove-image render resave "
  expect "qelctl render --t" "--thumbnail "
  expect "qelctl render " "a.qel "
  expect "qelctl import-page a.qel " "b.qup "
  expect "qelctl firmware --port /dev/pts/0 " "c.qfw "
  expect "qelctl dump a.qel -o " "d.json "
  expect "qelctl upload --" "--help --no-backup --no-verify --port --verify "
  expect "qelctl dump --t" "--textconv "
  expect "qelctl diff a.qel -" "- --help "
  expect "qelctl render a.qel 1 -o -" "- "
  ;;
*)
  fail "unknown check $check"
  ;;
esac
