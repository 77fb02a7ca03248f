#!/usr/bin/env bash
# Checks vantor-pak's manual page against the tool's own help: the same
# commands, and for each command the same options; every option the page
# gives the tool itself is one the tool takes.
#
# Usage: man_page_check.sh VANTOR_PAK PAGE
set -uo pipefail
tool=$1 page=$2
status=0

# The page's text without roff's escapes for dashes and fonts.
text=$(sed -e 's/\\-/-/g' -e 's/\\f[BIRP]//g' "$page")

# The options named in some text, one a line, sorted.
options_in() { grep -oE '(^|[][ "])--?[a-zA-Z][-a-zA-Z]*' | sed 's/^[][ "]//' | sort -u; }

# The lines of one section of the page (.SH NAME up to the next .SH).
section() { awk -v name="$1" '/^\.SH /{on = ($0 == ".SH " name); next} on' <<<"$text"; }

# The lines below ".SS command" in the COMMANDS section.
command_block() { section COMMANDS | awk -v name="$1" '/^\.SS /{on = ($0 == ".SS " name); next} on'; }

compare() {
    local what=$1 from_help=$2 from_page=$3
    if [[ $from_help != "$from_page" ]]; then
        echo "man_page_check: $what differ (< in the help only, > in the page only):"
        diff <(printf '%s\n' "$from_help") <(printf '%s\n' "$from_page") | grep '^[<>]'
        status=1
    fi
}

help_commands=$("$tool" --help | sed -n '/^commands:/,/^$/{s/^  \([a-z][a-z-]*\) .*/\1/p}' | sort)
page_commands=$(section COMMANDS | sed -n 's/^\.SS //p' | sort)
[[ -n $help_commands ]] || { echo "man_page_check: no commands in the help"; exit 1; }
compare "the commands" "$help_commands" "$page_commands"

for command in $help_commands; do
    # The usage line and the option lines of the command's help.
    help_options=$("$tool" "$command" --help | grep -E '^(usage:|  -)' | options_in)
    page_options=$(command_block "$command" | options_in)
    compare "the options of $command" "$help_options" "$page_options"
done

# The options of the tool itself: what the help names is on the page, and
# every option the page names answers with success.
help_global=$("$tool" --help | sed -n '/^commands:/,/^$/!p' | options_in)
page_global=$(section OPTIONS | options_in)
missing=$(comm -23 <(printf '%s\n' "$help_global") <(printf '%s\n' "$page_global"))
[[ -z $missing ]] || { echo "man_page_check: options of the help missing from the page: $missing"; status=1; }
for option in $page_global; do
    "$tool" "$option" >/dev/null 2>&1 || { echo "man_page_check: the page names $option, which fails"; status=1; }
done

exit $status
