#!/bin/bash
# Compares the engine's RTF reading speed with unrtf --text on the same
# generated documents, in one run: one of a few runs per paragraph and one
# with a change of font, size, colour and bold every four words (about
# 8 MB). Usage: bench/rtf-vs-unrtf.sh [BUILD_DIR] (a Release build gives the
# meaningful figures). CPU seconds are compared, so other load on the
# machine does not skew the ratio; peak memory is measured with
# /usr/bin/time when it is installed.
set -euo pipefail

build=${1:-build}
bench="$build/bench/RtfBench"
rtfconv="$build/tools/rtfconv"
for tool in "$bench" "$rtfconv"; do
  [ -x "$tool" ] || { echo "missing $tool (build RtfBench and rtfconv first)" >&2; exit 1; }
done
command -v unrtf >/dev/null || { echo "unrtf is not installed" >&2; exit 1; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$bench" --write-sample "$work/sample.rtf"
"$bench" --write-formatted-sample "$work/formatted.rtf"

# CPU seconds (user + system) of a command, best of three runs.
cpu_seconds() {
  local best=""
  for _ in 1 2 3; do
    local t
    t=$( { TIMEFORMAT='%U %S'; time "$@" >/dev/null 2>&1; } 2>&1 | awk '{ print $1 + $2 }')
    if [ -z "$best" ] || awk -v a="$t" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$t; fi
  done
  echo "$best"
}

# Peak resident memory of a command in kilobytes, or 0 without /usr/bin/time.
peak_kb() {
  if [ -x /usr/bin/time ]; then
    /usr/bin/time -f '%M' "$@" 2>&1 >/dev/null | tail -1
  else
    echo 0
  fi
}

compare() {
  local name=$1 file=$2
  local bytes unrtf_s conv_s conv_kb unrtf_kb
  bytes=$(stat -c %s "$file")
  unrtf_s=$(cpu_seconds unrtf --text "$file")
  conv_s=$(cpu_seconds "$rtfconv" --to text "$file" "$work/out.txt")
  conv_kb=$(peak_kb "$rtfconv" --to text "$file" "$work/out.txt")
  unrtf_kb=$(peak_kb unrtf --text "$file")
  awk -v name="$name" -v bytes="$bytes" -v unrtf="$unrtf_s" -v conv="$conv_s" -v ckb="$conv_kb" \
      -v ukb="$unrtf_kb" 'BEGIN {
    mb = bytes / 1e6
    printf "%s: %.2f MB of RTF\n", name, mb
    printf "  unrtf --text:         %.3f s CPU, %.1f MB peak\n", unrtf, ukb / 1000
    printf "  rtfconv --to text:    %.3f s CPU, %.1f MB peak (%.2fx the input)\n", conv, ckb / 1000, ckb * 1000 / bytes
    printf "  rtfconv / unrtf:      %.1fx\n", unrtf / conv
  }'
}

compare "sample document" "$work/sample.rtf"
compare "heavily formatted document" "$work/formatted.rtf"

# The benchmark's own figures (CPU time per iteration, in milliseconds):
# reading into a whole document, as the program does, and writing it.
csv=$("$bench" --benchmark_format=csv 2>/dev/null)
bytes=$(stat -c %s "$work/sample.rtf")
fbytes=$(stat -c %s "$work/formatted.rtf")
read_ms=$(echo "$csv" | awk -F, '$1 == "\"BM_ReadRtf\"" { print $4 }')
fread_ms=$(echo "$csv" | awk -F, '$1 == "\"BM_ReadFormattedRtf\"" { print $4 }')
write_ms=$(echo "$csv" | awk -F, '$1 == "\"BM_WriteRtf\"" { print $4 }')
write_bytes=$(echo "$csv" | awk -F, '$1 == "\"BM_WriteRtf\"" { print $6 * $4 / 1000 }')
awk -v bytes="$bytes" -v fbytes="$fbytes" -v rd="$read_ms" -v frd="$fread_ms" -v wr="$write_ms" \
    -v wbytes="$write_bytes" 'BEGIN {
  printf "engine read, sample (bench):     %.1f ms CPU, %.1f MB/s\n", rd, bytes / 1e6 / (rd / 1000)
  printf "engine read, formatted (bench):  %.1f ms CPU, %.1f MB/s\n", frd, fbytes / 1e6 / (frd / 1000)
  printf "engine write, sample (bench):    %.1f ms CPU, %.1f MB/s\n", wr, (wbytes / 1e6) / (wr / 1000)
}'
