#!/usr/bin/env bash
# Every command and option that "PROGRAM --help" (and "PROGRAM COMMAND --help" for each
# command it lists) shows has an entry of its own in the manual page: a .TP tag naming it.
# With "all" (a build with every command), every long option the page has an entry for
# must also be one the program has.
# Run as: check-manual.sh PROGRAM PAGE [all]
set -euo pipefail
program=$1 page=$2 all=${3:-}

# The names the page's .TP tags document, one a line: roff escapes and quotes taken out,
# then the first word of each comma-separated part (".BR \-h , \-\-help" names both).
tags=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\&//g' -e 's/"//g' "$page" | awk '
    after_tp {
        sub(/^\.[A-Z]+ +/, "")
        n = split($0, parts, ",")
        for (i = 1; i <= n; i++) if (split(parts[i], w, " ") > 0) print w[1]
    }
    { after_tp = ($0 == ".TP") }')

# The options an "Options:" section of a help text lists, one a line: the names before the
# description, "-h, --help" giving both, without the value's name.
options_of() {
    sed -n '/^Options:/,/^$/s/^  \(-.*\)/\1/p' | awk -F'  ' '{
        n = split($1, parts, ", ")
        for (i = 1; i <= n; i++) { split(parts[i], w, " "); print w[1] }
    }'
}

overview=$("$program" --help)
commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\).*/\1/p' <<<"$overview")
# The program's own options: its Options section, or those its usage lines at the top name.
options=$(
    options_of <<<"$overview"
    head -n 2 <<<"$overview" | grep -o -- ' --[a-z][a-z-]*' || true
)
for command in $commands; do
    options+=$'\n'$("$program" "$command" --help | options_of)
done
options=$(sed -e 's/^ *//' -e '/^$/d' <<<"$options" | sort -u)

if [ "$(wc -l <<<"$options")" -lt 2 ]; then
    echo "check-manual: cannot read the options from '$program --help'" >&2
    exit 1
fi

failed=0
for name in $commands $options; do
    if ! grep -qxF -- "$name" <<<"$tags"; then
        echo "check-manual: $page has no entry for '$name', which $program --help lists" >&2
        failed=1
    fi
done
if [ "$all" = all ]; then
    for name in $(grep -- '^--[a-z]' <<<"$tags" | sort -u); do
        if ! grep -qxF -- "$name" <<<"$options"; then
            echo "check-manual: $page has an entry for '$name', which $program does not have" >&2
            failed=1
        fi
    done
fi
[ $failed -eq 0 ] && echo "check-manual: $(wc -w <<<"$commands") commands and" \
    "$(wc -l <<<"$options") options, each with its entry"
exit $failed
