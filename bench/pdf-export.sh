#!/bin/bash
# Time of "tabwright --export-pdf" on a 30-label file-folder sheet, end to end
# (start-up, reading the sheet, laying out every label at 1200 pixels per
# inch, writing the PDF), beside the export alone measured in the process by
# PdfExportBench. CPU seconds are the figure to compare between runs; wall
# seconds are shown beside them.
# Usage: bench/pdf-export.sh [BUILD_DIR]  (a Release build gives the
# meaningful figures).
set -euo pipefail

build=${1:-build}
tabwright="$build/bin/tabwright"
bench="$build/bench/PdfExportBench"
for tool in "$tabwright" "$bench"; do
  [ -x "$tool" ] || { echo "missing $tool (build tabwright and PdfExportBench first)" >&2; exit 1; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-sheet "$work/folders.KLX" 2>/dev/null

# shellcheck source=measure.sh
source "$(dirname "$0")/measure.sh"

read -r tw_cpu tw_wall <<<"$(measure env -u DISPLAY "$tabwright" --export-pdf "$work/folders.KLX" "$work/sheet.pdf")"
words=$(pdftotext "$work/sheet.pdf" - | grep -c "Accounts receivable" || true)
[ "$words" -eq 30 ] || { echo "sheet.pdf holds $words of the 30 labels" >&2; exit 1; }
in_process_ms=$("$bench" --benchmark_format=csv 2>/dev/null | awk -F, '$1 == "\"BM_ExportPdf30Labels\"" { print $4 }')

awk -v tc="$tw_cpu" -v tw="$tw_wall" -v ip="$in_process_ms" 'BEGIN {
  printf "30-label sheet to PDF            CPU s   wall s\n"
  printf "tabwright --export-pdf          %6.3f   %6.3f\n", tc, tw
  printf "export in the process (bench): %.1f ms CPU, %.0f%% of the command\n", ip, 100 * ip / 1000 / tc
}'
