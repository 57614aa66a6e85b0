#!/usr/bin/env bash
# The compiled help opens at its front page and holds every page it links to.
# Usage: check_help_file.sh HELP_FILE HELP_SOURCES
set -euo pipefail
chm=$1
sources=$2
command -v chmls >/dev/null || { echo "SKIP: chmls (fp-utils) is not installed"; exit 77; }
[ -f "$chm" ] || { echo "FAIL: $chm was not built"; exit 1; }

fail=0
system=$(chmls printsystem "$chm")
grep -Eq 'Default topic from \[options\] *:index\.html' <<<"$system" ||
  { echo "FAIL: the default topic is not index.html"; fail=1; }
contents=$(chmls -n -p list "$chm")

# Every page and every local link of every page, the table of contents' included.
wanted=$(cd "$sources" && { ls ./*.html ./*.css | sed 's|^\./||'; grep -ohE '(href|value)="[^":#]+\.(html|css)"' ./*.html toc.hhc | sed -E 's/.*"(.*)"/\1/'; } | sort -u)
for name in $wanted; do
  grep -qx "/$name" <<<"$contents" || { echo "FAIL: /$name is missing from the help file"; fail=1; }
done
[ "$fail" = 0 ] && echo "help file: front page index.html, $(wc -w <<<"$wanted") pages and styles present"
exit "$fail"
