#!/bin/sh
# Writes the COMMANDS section of a man page for help2man (--include): every command's own
# --help, and that of the commands under it, so the page tells what the program tells.
# usage: command_help.sh PROGRAM OUTPUT
set -eu
program=$1
output=$2

# The names listed under "Subcommands:" in the help of the command given (none: the program's).
subcommands() {
    "$program" "$@" --help | sed -n '/^Subcommands:/,/^$/s/^  \([a-z][a-z0-9-]*\)\( .*\)\{0,1\}$/\1/p'
}

# The help text as literal roff lines: backslashes printed as such, no line read as a request.
as_roff() {
    sed -e 's/\\/\\e/g' -e "s/^\([.']\)/\\\\\&\1/"
}

# A command's help without the closing paragraph it shares with the program's help, which the
# page shows once already.
without_footer() {
    awk 'FNR == NR { footer[++n] = $0; next } { line[++m] = $0 }
         END {
             same = m > n
             for (i = 1; same && i <= n; ++i) same = line[m - n + i] == footer[i]
             last = same ? m - n : m
             while (last > 0 && line[last] == "") --last
             for (i = 1; i <= last; ++i) print line[i]
         }' "$footer" -
}

section() {
    printf '.SS "%s"\n.nf\n' "$*"
    "$program" "$@" --help | without_footer | as_roff
    printf '.fi\n'
}

tmp="$output.tmp"
footer="$output.footer"
# The last paragraph of the program's help.
"$program" --help | awk '/^$/ { n = 0; next } { para[++n] = $0 } END { for (i = 1; i <= n; ++i) print para[i] }' >"$footer"
{
    printf '[COMMANDS]\n'
    for command in $(subcommands); do
        section "$command"
        for sub in $(subcommands "$command"); do
            section "$command" "$sub"
        done
    done
} >"$tmp"
rm -f "$footer"
mv "$tmp" "$output"
