#!/usr/bin/env bash
# The manual page names every command and every option that zantor-cli's
# --help lists, and man reads it without complaint.
set -euo pipefail
cli="$1" page="$2"

# Both read the --help text given (one run of zantor-cli per command).
subcommands() { awk '/^Subcommands:/ { on = 1; next } on && /^  [a-z]/ { print $1 }' <<<"$1"; }
options() { awk '/^Options:/ { on = 1; next } /^[^ ]/ { on = 0 }
    on && /^  -/ { split($1, n, ","); for (i in n) if (n[i] ~ /^--/ && n[i] != "--help") print n[i] }' <<<"$1"; }
escaped() { sed 's/-/\\-/g' <<<"$1"; }

failures=0
check() {  # the command path "$@" and everything below it
    if [ $# -gt 0 ]; then
        grep -qF ".SS \"zantor-cli $*\"" "$page" || { echo "no section for: $*"; failures=$((failures + 1)); }
    fi
    local option section help
    help=$("$cli" "$@" --help)
    section=$(awk -v h=".SS \"zantor-cli $*\"" '$0 == h { on = 1; next } /^\.S[SH]/ { on = 0 } on' "$page")
    [ $# -eq 0 ] && section=$(awk '/^\.SH OPTIONS/ { on = 1; next } /^\.SH/ { on = 0 } on' "$page")
    for option in $(options "$help"); do
        grep -qF -- "$(escaped "$option")" <<<"$section" ||
            { echo "zantor-cli $* lacks option $option in the manual"; failures=$((failures + 1)); }
    done
    local sub
    for sub in $(subcommands "$help"); do check "$@" "$sub"; done
}
check
[ "$failures" -eq 0 ]

if command -v man >/dev/null; then
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null | grep -v "cannot adjust line" || true)
    [ -z "$warnings" ] || { echo "man: $warnings"; exit 1; }
fi
echo "manual page in step with --help"
