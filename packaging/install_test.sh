#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks every installed file:
# the programs run from there (korvanel-cli converts the sample, the window
# program answers --version without a display), the help document is where
# the window looks, the man pages, the bash completion, the icons and the
# desktop entry.
#   install_test.sh BUILD_DIR SOURCE_DIR WITH_WINDOW(yes|no)
set -uo pipefail

build=$1 source=$2 window=$3
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
failures=0 checks=0

check() {  # check DESCRIPTION COMMAND...
  local description=$1
  shift
  checks=$((checks + 1))
  if ! "$@" >/dev/null 2>&1; then
    echo "FAILED: $description"
    failures=$((failures + 1))
  fi
}
contains() { grep -q -e "$2" -- "$1"; }
png_of_size() {  # a PNG file whose header says SIZE by SIZE
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] &&
    [ "$(od -An -tu1 -j16 -N8 "$1" | tr -s ' ' | sed 's/^ //')" = "0 0 $(($2 / 256)) $(($2 % 256)) 0 0 $(($2 / 256)) $(($2 % 256))" ]
}
# What the completion replies to the command line "$@" (the last word is
# being typed), one reply a line.
completes() {
  bash --norc --noprofile -c '
    source "$1"; shift
    COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1))
    compopt() { :; }  # only readline has it
    _korvanel_cli
    printf "%s\n" "${COMPREPLY[@]}"' completion "$completion" "$@"
}

if ! cmake --install "$build" --prefix "$prefix" >"$prefix.log" 2>&1; then
  cat "$prefix.log"
  echo "FAILED: cmake --install"
  rm -f "$prefix.log"
  exit 1
fi
rm -f "$prefix.log"

# korvanel-cli converts the sample as the build's own does.
cli=$prefix/bin/korvanel-cli
work=$prefix/work
mkdir -p "$work"
check "korvanel-cli is installed" test -x "$cli"
check "korvanel-cli --version" contains <("$cli" --version) "^korvanel-cli [0-9]"
(cd "$work" && "$cli" convert --from Telesis --to ALLEGRO "$source/examples/sample.tel" installed.all 2>/dev/null)
check "the installed korvanel-cli converts the sample" test -s "$work/installed.all"
(cd "$work" && "$build/cli/korvanel-cli" convert --from Telesis --to ALLEGRO "$source/examples/sample.tel" built.all \
  2>/dev/null)
check "it converts as the built one does" cmp "$work/installed.all" "$work/built.all"

# The man page, made from the program's help.
man=$prefix/share/man/man1
check "korvanel-cli(1) is installed" contains "$man/korvanel-cli.1" '^\.TH KORVANEL-CLI "1"'
check "korvanel-cli(1) names every command" contains "$man/korvanel-cli.1" 'convert'
check "korvanel-cli(1) names the options of a command" contains "$man/korvanel-cli.1" 'no\\-single\\-pin\\-check'

# bash completion: commands, options and format names quoted for the shell.
completion=$prefix/share/bash-completion/completions/korvanel-cli
check "the bash completion is installed" bash -n "$completion"
check "it completes the commands" contains <(completes korvanel-cli con) '^convert$'
check "it completes a command's options" contains <(completes korvanel-cli convert --no-s) '^--no-sort$'
check "it escapes a name with blanks and &" \
  contains <(completes korvanel-cli convert --from MM) '^MM-COLMO_NEO\\ \\&\\ MM2$'
check "it completes inside a quote the user opened" \
  contains <(completes korvanel-cli write --to "'CR5000(") '^CR5000(PC)$'
check "it offers output names after --to" contains <(completes korvanel-cli convert --to Tele) '^Telesis$'
check "it offers the encodings" contains <(completes korvanel-cli read --encoding u) '^utf-8$'

if [ "$window" = yes ]; then
  check "korvanel is installed" test -x "$prefix/bin/korvanel"
  check "korvanel --version needs no display" \
    contains <(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$prefix/bin/korvanel" --version) "^korvanel [0-9]"
  check "the help document is where the window looks" \
    cmp "$prefix/share/korvanel/korvanel.hlp" "$source/ui/korvanel.hlp"
  check "korvanel(1) is installed" contains "$man/korvanel.1" '^\.TH KORVANEL "1"'
  check "korvanel(1) names the window's options" contains "$man/korvanel.1" 'screenshot'
  entry=$prefix/share/applications/korvanel.desktop
  check "the desktop entry is valid" desktop-file-validate "$entry"
  check "the desktop entry starts korvanel" contains "$entry" '^Exec=korvanel$'
  check "the desktop entry names the icon" contains "$entry" '^Icon=korvanel$'
  icons=$prefix/share/icons/hicolor
  for size in 16 22 24 32 48 64 128 256; do
    check "the ${size}x$size icon" png_of_size "$icons/${size}x$size/apps/korvanel.png" "$size"
  done
  check "the scalable icon" contains "$icons/scalable/apps/korvanel.svg" '<svg'
  check "the scalable icon is whole" contains "$icons/scalable/apps/korvanel.svg" '</svg>'
fi

echo "$((checks - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
