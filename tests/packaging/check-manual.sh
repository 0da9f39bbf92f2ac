#!/usr/bin/env bash
# Every command and option that "qrbtool --help" and "qrbtool COMMAND --help" list has an
# entry of its own in the manual page (a .TP tag naming it). With "all" (a build with every
# command), every option the page has an entry for must also be one qrbtool has.
# Run as: check-manual.sh QRBTOOL qrbtool.1 [all]
set -euo pipefail
qrbtool=$1 page=$2 all=${3:-}

# The names the page's .TP tags document, one a line: roff escapes and quotes taken out,
# then the first word of each comma-separated part (".BR \-h , \-\-help" names both).
tags=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' -e 's/\\&//g' -e 's/"//g' "$page" | awk '
    after_tp {
        sub(/^\.[A-Z]+ +/, "")
        n = split($0, parts, ",")
        for (i = 1; i <= n; i++) if (split(parts[i], w, " ") > 0) print w[1]
    }
    { after_tp = ($0 == ".TP") }')

overview=$("$qrbtool" --help)
commands=$(sed -n '/^Commands:/,/^$/s/^  \([a-z][a-z]*\).*/\1/p' <<<"$overview")
# The options of the tool itself, from the two usage lines at the top.
options=$(head -n 2 <<<"$overview" | grep -o -- '--[a-z][a-z-]*')
for command in $commands; do
    options+=$'\n'$("$qrbtool" "$command" --help |
        sed -n '/^Options:/,/^$/s/^  \(--[a-z][a-z-]*\).*/\1/p')
done
options=$(sort -u <<<"$options")

if [ -z "$commands" ] || [ "$(wc -l <<<"$options")" -lt 3 ]; then
    echo "check-manual: cannot read the commands and options from '$qrbtool --help'" >&2
    exit 1
fi

failed=0
for name in $commands $options; do
    if ! grep -qxF -- "$name" <<<"$tags"; then
        echo "check-manual: $page has no entry for '$name', which qrbtool --help lists" >&2
        failed=1
    fi
done
if [ "$all" = all ]; then
    for name in $(grep -- '^--' <<<"$tags" | sort -u); do
        if ! grep -qxF -- "$name" <<<"$options"; then
            echo "check-manual: $page has an entry for '$name', which qrbtool does not have" >&2
            failed=1
        fi
    done
fi
[ $failed -eq 0 ] && echo "check-manual: $(wc -w <<<"$commands") commands and" \
    "$(wc -l <<<"$options") options, each with its entry"
exit $failed
