#!/usr/bin/env bash
# Writes a program's manual page, gzipped, from what the program itself prints
# with --help and --version, so the page cannot tell other than the program.
# A program whose --help lists subcommands under "Naredbe:" gets a part for
# each from "PROGRAM NAME --help". The examples come from a file in the same
# plain form as the help texts.
#   make-man-page.sh PROGRAM SUMMARY DATE EXAMPLES SEE_ALSO OUTPUT.1.gz
set -euo pipefail
program=$1 summary=$2 date=$3 examples=$4 see_also=$5 output=$6
name=$(basename "$program")
read_help() { awk -v part="$1" -v heading="${2:-}" -f "$(dirname "$0")/help-text.awk"; }
escape() { sed -e 's/\\/\\e/g' -e 's/-/\\-/g' <<<"$1"; }

help=$("$program" --help)
version=$("$program" --version)
commands=$(read_help commands <<<"$help")
declare -A command_help
for command in $commands; do
  command_help[$command]=$("$program" "$command" --help)
done

page() {
  echo ".\\\" Made from \"$name --help\" by make-man-page.sh at build time."
  echo ".TH $(escape "${name^^}") 1 $date \"$(escape "$version")\" \"Korisnicke naredbe\""
  # The hyphenation patterns are English ones.
  echo ".nh"
  echo ".SH IME"
  echo "$(escape "$name") \\- $(escape "${summary,}")"

  echo ".SH UPOTREBA"
  read_help usage <<<"$help"
  for command in $commands; do
    echo ".br"
    read_help usage <<<"${command_help[$command]}"
  done

  echo ".SH OPIS"
  read_help body SS <<<"$help"

  if [ -n "$commands" ]; then
    echo ".SH NAREDBE"
    for command in $commands; do
      echo ".SS $command"
      echo ".PP"
      read_help usage <<<"${command_help[$command]}"
      read_help body <<<"${command_help[$command]}"
    done
  fi

  echo ".SH \"IZLAZNI STATUS\""
  echo ".PP"
  read_help status <<<"$help"
  for command in $commands; do
    echo ".TP"
    echo "\\fB$(escape "$command")\\fR"
    read_help status <<<"${command_help[$command]}"
  done

  echo ".SH PRIMJERI"
  read_help body <"$examples"

  echo ".SH \"VIDI JOS\""
  echo ".BR $(escape "$see_also") (1)"
}

# Whole or not at all: a failed run leaves no page behind.
trap 'rm -f "$output.roff" "$output.tmp"' EXIT
page >"$output.roff"
gzip -9 -n -c "$output.roff" >"$output.tmp"
mv "$output.tmp" "$output"
