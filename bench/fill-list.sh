#!/bin/bash
# Time of "tabwright --new LAYOUT --fill LIST --export-pdf OUT.pdf" for a
# list of 300 names on the 30-label file-folder sheet: ten sheets, ten PDF
# pages, end to end (start-up, reading the layout file and the list, filling
# and fitting 300 labels, laying them out at 1200 pixels per inch, writing
# the PDF). The same names as CSV (column 2 of 3, with a heading) are timed
# beside it. CPU seconds are the figure to compare between runs; wall
# seconds are shown beside them.
# Usage: bench/fill-list.sh [BUILD_DIR]  (a Release build gives the
# meaningful figures).
set -euo pipefail

build=${1:-build}
tabwright="$build/bin/tabwright"
[ -x "$tabwright" ] || { echo "missing $tabwright (build tabwright first)" >&2; exit 1; }
layout="File folder 3-7/16 x 2/3 in, 30 per sheet, Letter, plain"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
echo "Id,Name,Year" >"$work/names.csv"
for i in $(seq 1 300); do
  printf 'Client %03d, folder %d\n' "$i" "$((2000 + i % 27))" >>"$work/names.txt"
  printf '%d,"Client %03d, folder %d",%d\n' "$i" "$i" "$((2000 + i % 27))" "$((2000 + i % 27))" >>"$work/names.csv"
done

# shellcheck source=measure.sh
source "$(dirname "$0")/measure.sh"

check() {
  local pages words
  pages=$(pdfinfo "$1" | awk '/^Pages:/ { print $2 }')
  words=$(pdftotext "$1" - | grep -o "Client [0-9]*" | wc -l)
  [ "$pages" -eq 10 ] && [ "$words" -eq 300 ] || { echo "$1: $pages pages, $words of 300 names" >&2; exit 1; }
}

read -r txt_cpu txt_wall <<<"$(measure env -u DISPLAY "$tabwright" --new "$layout" --fill "$work/names.txt" \
  --export-pdf "$work/names.pdf")"
check "$work/names.pdf"
read -r csv_cpu csv_wall <<<"$(measure env -u DISPLAY "$tabwright" --new "$layout" --fill "$work/names.csv" \
  --column 2 --heading --export-pdf "$work/csv.pdf")"
check "$work/csv.pdf"

awk -v tc="$txt_cpu" -v tw="$txt_wall" -v cc="$csv_cpu" -v cw="$csv_wall" 'BEGIN {
  printf "300 names to a 10-page PDF           CPU s   wall s   CPU s per page\n"
  printf "tabwright --fill names.txt          %6.3f   %6.3f   %6.4f\n", tc, tw, tc / 10
  printf "tabwright --fill names.csv          %6.3f   %6.3f   %6.4f\n", cc, cw, cc / 10
}'
