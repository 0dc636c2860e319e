#!/usr/bin/env bash
# The built manual pages against the programs: every line the programs print
# with --help (the tool's for each subcommand its main --help lists) is in
# the rendered page, and every tram-map-tool command in the pages' examples
# runs, in order, from a folder that holds the example feed as gtfs.zip.
#   check_man_pages.sh PAGES_DIR PROGRAMS_DIR HELP_READER FEED
set -euo pipefail
pages=$1 programs=$2 reader=$3 feed=$4

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*" >&2; exit 1; }

# The page as plain text on lines long enough for any line of the help, with
# runs of blanks made one, as the help's lines are compared.
rendered() { LC_ALL=C MANWIDTH=250 man -l "$1" 2>/dev/null | col -bx; }
squeezed() { tr -s ' ' | sed 's/^ //; s/ $//'; }

for program in tram-map-editor tram-map-tool; do
  page=$pages/$program.1.gz
  [ -f "$page" ] || fail "no $page"
  text=$(rendered "$page" | tr '\n' ' ' | squeezed)
  commands=$("$programs/$program" --help | awk -v part=commands -f "$reader")
  lines=0
  for command in "" $commands; do
    # The page puts the synopsis and the exit statuses under headings of their own.
    while IFS= read -r line; do
      [ -n "$line" ] || continue
      lines=$((lines + 1))
      [[ " $text " == *" $line "* ]] || fail "$program.1 lacks this line of \"$program $command --help\": $line"
    done < <("$programs/$program" $command --help | sed 's/^Upotreba: //; s/^Izlazni status: //' | squeezed)
  done
  echo "$program.1: all $lines lines of its help texts"
done

cp "$feed" "$work/gtfs.zip"
examples=0
for program in tram-map-tool tram-map-editor; do
  while IFS= read -r command; do
    output=$(cd "$work" && PATH="$programs:$PATH" bash -c "$command" 2>&1) ||
      fail "example in $program.1 failed: $command"$'\n'"$output"
    examples=$((examples + 1))
  done < <(rendered "$pages/$program.1.gz" | sed -n '/^PRIMJERI$/,/^[^ ]/s/^ *\(tram-map-tool .*\)/\1/p')
done
[ "$examples" -gt 0 ] || fail "no tram-map-tool command among the examples"
echo "examples: $examples commands ran"
