#!/bin/bash
# Compares, in one run, the time of "tabwright --export-pdf" on a 30-label
# file-folder sheet with glabels-3-batch rendering a sheet of the same 30
# texts (a 2 x 15 file-folder template of the same geometry, the texts merged
# from a list, Liberation Sans 10 point, which Arial stands for). glabels is
# not a dependency of the project: install it for the measurement
# (apt-get install --no-install-recommends glabels).
# Usage: bench/pdf-vs-glabels.sh [BUILD_DIR]  (a Release build gives the
# meaningful figures). CPU seconds are compared, so other load on the machine
# does not skew the ratio; wall seconds are shown beside them.
set -euo pipefail

build=${1:-build}
tabwright="$build/bin/tabwright"
bench="$build/bench/PdfExportBench"
for tool in "$tabwright" "$bench"; do
  [ -x "$tool" ] || { echo "missing $tool (build tabwright and PdfExportBench first)" >&2; exit 1; }
done
command -v glabels-3-batch >/dev/null || { echo "glabels-3-batch is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-sheet "$work/folders.KLX" --write-list "$work/names.csv" 2>/dev/null
cat > "$work/folders.glabels" <<GLABELS
<?xml version="1.0"?>
<Glabels-document xmlns="http://glabels.org/xmlns/3.0/">
  <Template brand="Tabwright" part="FF30" size="US-Letter" description="File folder labels 3-7/16 x 2/3 in">
    <Meta category="label"/>
    <Label-rectangle id="0" width="3.438in" height="0.667in" round="0in" x_waste="0in" y_waste="0in">
      <Markup-margin size="0.063in"/>
      <Layout nx="2" ny="15" x0="0.531in" y0="0.5in" dx="4in" dy="0.667in"/>
    </Label-rectangle>
  </Template>
  <Objects id="0" rotate="False">
    <Object-text x="0.063in" y="0.063in" w="3.312in" h="0.541in" justify="Left" valign="Top"
                 auto_shrink="False" a0="1" a1="0" a2="0" a3="1" a4="0" a5="0">
      <Span font_family="Liberation Sans" font_size="10" font_weight="Regular" font_italic="False"
            color="0x000000ff" line_spacing="1"><Field name="1"/></Span>
    </Object-text>
  </Objects>
  <Merge type="Text/Comma" src="$work/names.csv"/>
</Glabels-document>
GLABELS

# "CPU WALL" seconds of a command, the run with the least CPU of five.
measure() {
  local best_cpu="" best_wall=""
  for _ in 1 2 3 4 5; do
    local t
    t=$( { TIMEFORMAT='%U %S %R'; time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2, $3 }')
    read -r cpu wall <<<"$t"
    if [ -z "$best_cpu" ] || awk -v a="$cpu" -v b="$best_cpu" 'BEGIN { exit !(a < b) }'; then
      best_cpu=$cpu best_wall=$wall
    fi
  done
  echo "$best_cpu $best_wall"
}

read -r tw_cpu tw_wall <<<"$(measure "$tabwright" --export-pdf "$work/folders.KLX" "$work/tabwright.pdf")"
read -r gl_cpu gl_wall <<<"$(measure env -u DISPLAY glabels-3-batch -o "$work/glabels.pdf" "$work/folders.glabels")"
for pdf in tabwright glabels; do
  words=$(pdftotext "$work/$pdf.pdf" - | grep -c "Accounts receivable" || true)
  [ "$words" -eq 30 ] || { echo "$pdf.pdf holds $words of the 30 labels" >&2; exit 1; }
done
in_process_ms=$("$bench" --benchmark_format=csv 2>/dev/null | awk -F, '$1 == "\"BM_ExportPdf30Labels\"" { print $4 }')

awk -v tc="$tw_cpu" -v tw="$tw_wall" -v gc="$gl_cpu" -v gw="$gl_wall" -v ip="$in_process_ms" 'BEGIN {
  printf "30-label sheet to PDF          CPU s   wall s\n"
  printf "tabwright --export-pdf        %6.3f   %6.3f\n", tc, tw
  printf "glabels-3-batch               %6.3f   %6.3f\n", gc, gw
  printf "export in the process (bench): %.1f ms CPU\n", ip
  printf "glabels / tabwright:  %.1fx CPU, %.1fx wall\n", gc / tc, gw / tw
}'
