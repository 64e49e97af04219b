#!/bin/bash
# Compares the engine's RTF reading speed with unrtf --text on the same
# generated document, in one run. Usage: bench/rtf-vs-unrtf.sh [BUILD_DIR]
# (a Release build gives the meaningful figures). CPU seconds are compared,
# so other load on the machine does not skew the ratio.
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
sample="$work/sample.rtf"
"$bench" --write-sample "$sample"
bytes=$(stat -c %s "$sample")

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

unrtf_s=$(cpu_seconds unrtf --text "$sample")
rtfconv_s=$(cpu_seconds "$rtfconv" --to text "$sample" "$work/out.txt")

# The benchmark's own figures (CPU time per iteration, in milliseconds).
csv=$("$bench" --benchmark_format=csv 2>/dev/null)
read_ms=$(echo "$csv" | awk -F, '$1 == "\"BM_ReadRtf\"" { print $4 }')
write_ms=$(echo "$csv" | awk -F, '$1 == "\"BM_WriteRtf\"" { print $4 }')
write_bytes=$(echo "$csv" | awk -F, '$1 == "\"BM_WriteRtf\"" { print $6 * $4 / 1000 }')

awk -v bytes="$bytes" -v unrtf="$unrtf_s" -v conv="$rtfconv_s" -v rd="$read_ms" -v wr="$write_ms" \
    -v wbytes="$write_bytes" 'BEGIN {
  mb = bytes / 1e6
  printf "sample document:        %.2f MB of RTF\n", mb
  printf "unrtf --text:           %.3f s CPU, %.1f MB/s\n", unrtf, mb / unrtf
  printf "engine read (bench):    %.1f ms CPU, %.1f MB/s\n", rd, mb / (rd / 1000)
  printf "engine write (bench):   %.1f ms CPU, %.1f MB/s\n", wr, (wbytes / 1e6) / (wr / 1000)
  printf "rtfconv --to text:      %.3f s CPU (process, read and write)\n", conv
  printf "read speed / unrtf:     %.1fx\n", unrtf / (rd / 1000)
  printf "rtfconv / unrtf:        %.1fx\n", unrtf / conv
}'
