#!/usr/bin/env bash
# The bash completion offers zantor-cli's commands, subcommands and options
# as the program's own --help lists them.
set -euo pipefail
cli="$1"
source "$2"

complete_words() {
    COMP_WORDS=("$cli" "$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    COMPREPLY=()
    _zantor_cli
    printf '%s\n' "${COMPREPLY[@]}" | sort | tr '\n' ' '
}
expect() {
    local got
    got=$(complete_words "${@:2}")
    [ "$got" = "$1" ] || { echo "completing [${*:2}]: expected [$1], got [$got]"; exit 1; }
}

expect "machine machines " ma
expect "add delete show " machine ""
expect "add delete show " --home /tmp machine ""
expect "--help --machine --output " prepare --
expect "--help --machine --output " prepare --machine M --
# Every top-level command of --help is offered.
for command in $("$cli" --help | awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }'); do
    grep -qw -- "$command" <<<"$(complete_words "")" || { echo "not offered: $command"; exit 1; }
done
echo "completion in step with --help"
