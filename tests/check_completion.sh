#!/usr/bin/env bash
# Drives tram-map-tool's bash completion as bash does on TAB, with the
# helpers of bash-completion: what it offers for partial command lines (file
# names with blanks kept whole), and that it offers exactly the subcommands
# the tool's --help lists and, for each, exactly the options its --help lists.
#   check_completion.sh COMPLETION TOOL HELP_READER
# The helpers are not written for set -u.
set -o pipefail
completion=$1 tool=$2 reader=$3

fail() { echo "FAIL: $*" >&2; exit 1; }
helpers=/usr/share/bash-completion/bash_completion
[ -f "$helpers" ] || fail "bash-completion is not installed"
source "$helpers"
source "$completion"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "cannot enter $work"
touch 'stara mreza.sch' nova.sch karta.json 'slika mreze.png' feed.zip biljeske.txt
mkdir 'gtfs folder'

joined() { LC_ALL=C sort | paste -sd '|'; }

# What TAB offers at the end of the words given, the last being the one
# completed: sorted, one a line, joined with "|".
offers() {
  COMP_WORDS=("$@")
  COMP_CWORD=$(($# - 1))
  COMP_LINE="$*"
  COMP_POINT=${#COMP_LINE}
  COMPREPLY=()
  _tram_map_tool
  printf '%s\n' "${COMPREPLY[@]}" | joined
}

cases=0
while IFS='>' read -r line expected; do
  eval "words=($line)"
  expected=$(sed 's/^ *//; s/ *$//' <<<"$expected")
  actual=$(offers "${words[@]}")
  [ "$actual" = "$expected" ] || fail "$line: offers '$actual', expected '$expected'"
  cases=$((cases + 1))
done <<'EOF'
tram-map-tool im                                   > import-gtfs
tram-map-tool --v                                  > --version
tram-map-tool render ''                            > gtfs folder|nova.sch|stara mreza.sch
tram-map-tool render nova.sch ''                   > gtfs folder|slika mreze.png
tram-map-tool render --width 3 nova.sch s          > slika mreze.png
tram-map-tool render --width ''                    >
tram-map-tool render nova.sch x.png --page ''      > A3|A4
tram-map-tool render nova.sch x.png --no-c         > --no-circles
tram-map-tool check nova.sch s                     > stara mreza.sch
tram-map-tool to-json nova.sch ''                  > gtfs folder|karta.json
tram-map-tool from-json karta.json ''              > gtfs folder|nova.sch|stara mreza.sch
tram-map-tool info nova.sch ''                     >
tram-map-tool import-gtfs ''                       > feed.zip|gtfs folder
tram-map-tool import-gtfs feed.zip --routes 1,2 n  > nova.sch
tram-map-tool import-gtfs -- -                     >
tram-map-tool schematise --grid 20 nova.sch ''     > gtfs folder|nova.sch|stara mreza.sch
tram-map-tool unknown ''                           >
EOF

# Nothing the help lists is forgotten, nothing it does not list is offered.
listed() { local part=$1; shift; "$tool" "$@" --help | awk -v part="$part" -f "$reader"; }
commands=$(listed commands)
[ -n "$commands" ] || fail "no subcommands read from tram-map-tool --help"
expected=$(printf '%s\n' $commands --help --version | joined)
actual=$(offers tram-map-tool '')
[ "$actual" = "$expected" ] || fail "tram-map-tool TAB offers '$actual'; the help lists '$expected'"
for command in $commands; do
  expected=$(printf '%s\n' $(listed options "$command") --help | joined)
  actual=$(offers tram-map-tool "$command" -)
  [ "$actual" = "$expected" ] || fail "tram-map-tool $command - TAB offers '$actual'; its help lists '$expected'"
done
echo "completion: $cases command lines; the subcommands and options of" $commands
