#!/usr/bin/env bash
# Writes the manual page of zantor-cli: the template with its COMMANDS
# section made from the program's own --help, every command and option.
set -euo pipefail
cli="$1" template="$2" out="$3"

roff() {  # text as roff: backslashes and hyphens escaped, no line starting with a dot
    sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\([.']\)/\\\\\&\1/"
}

describe() {  # the command path "$@": its heading, usage, description, arguments and options
    local help
    help=$("$cli" "$@" --help)
    echo ".SS \"zantor-cli $*\""
    awk 'NR == 1 { next } /^Usage:/ { sub(/^Usage: /, ""); print; exit }' <<<"$help" |
        sed 's/\[OPTIONS\] *//' | roff | sed 's/^/.B /'
    echo ".PP"
    head -n 1 <<<"$help" | roff
    awk '/^(Positionals|Options):/ { on = 1; next } /^[^ ]/ { on = 0 }
         on && /^  [^ ]/ {
             line = substr($0, 3); split(line, parts, /  +/)
             if (parts[1] ~ /^-h,--help/) { skip = 1; next }
             skip = 0; printf "T\t%s\n", parts[1]
             if (parts[2] != "") printf "D\t%s\n", parts[2]
             next }
         on && !skip && /^  +[^ ]/ { sub(/^ +/, ""); printf "D\t%s\n", $0 }' <<<"$help" |
        while IFS=$'\t' read -r kind text; do
            if [ "$kind" = T ]; then
                # The name in bold, its value in italics: "--code TEXT REQUIRED".
                local name=${text%% *} rest=""
                [ "$name" != "$text" ] && rest=${text#* }
                echo ".TP"
                printf '\\fB%s\\fR%s\n' "$(roff <<<"$name")" \
                    "${rest:+ \\fI$(roff <<<"$rest")\\fR}"
            else
                roff <<<"$text"
            fi
        done
    local sub
    for sub in $(awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' <<<"$help"); do
        describe "$@" "$sub"
    done
}

commands=$(for top in $("$cli" --help | awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }'); do
    describe "$top"
done)
# Through the environment: awk -v would read the backslashes as escapes.
COMMANDS=$commands awk '{ if ($0 == "%COMMANDS%") print ENVIRON["COMMANDS"]; else print }' \
    "$template" >"$out.tmp"
mv "$out.tmp" "$out"
