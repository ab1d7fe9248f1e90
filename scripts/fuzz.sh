#!/usr/bin/env bash
# Fuzzes the fuzz targets under AddressSanitizer and UndefinedBehaviorSanitizer, asserts on, for a
# number of seconds each, several at once, then prints each target's executions and findings.
# They build in build-sanitize, the folder of the sanitized tests (setup.sh --fuzz).
#
#   scripts/fuzz.sh [seconds] [target...]      (default: 60 seconds, every target)
#
# Each target starts from its committed corpus (tests/fuzz/corpus/<target>); what it learns goes
# to build-sanitize/fuzz/<target>/corpus, the inputs that found a fault to .../findings, its log to
# .../log. A run goes on after a fault, so one known fault does not hide others. FUZZ_JOBS sets
# how many targets run at once (default: half the cores); FUZZ_ARGS adds libFuzzer options
# (FUZZ_ARGS=-max_len=100000 tries inputs beyond the default 4096 bytes).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
[ $# -gt 0 ] && shift
all=(jet_sql filter_expression ini_file edit_mask mask_edit numbers prop_filer import_text import_unicode_text import_vcldbif load_columns grid_filter_text restore)
targets=("${@:-${all[@]}}")
jobs="${FUZZ_JOBS:-$(( ($(nproc) + 1) / 2 ))}"

./scripts/setup.sh --fuzz
export QT_QPA_PLATFORM=offscreen
export UBSAN_OPTIONS="${UBSAN_OPTIONS:-print_stacktrace=1}"

fuzz() {
  local target="$1" out="build-sanitize/fuzz/$1"
  mkdir -p "$out/corpus" "$out/findings"
  "build-sanitize/tests/fuzz/fuzz_$target" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
    -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -artifact_prefix="$out/findings/" \
    ${FUZZ_ARGS:-} "$out/corpus" "tests/fuzz/corpus/$target" >"$out/log" 2>&1 || true
}

for target in "${targets[@]}"; do
  [ -x "build-sanitize/tests/fuzz/fuzz_$target" ] || { echo "No fuzz target $target" >&2; exit 2; }
  while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do wait -n; done
  echo "Fuzzing $target for ${seconds}s"
  fuzz "$target" &
done
wait

printf '\n%-18s %12s  %-18s %s\n' target executions oom/timeout/crash 'inputs saved'
found=0
for target in "${targets[@]}"; do
  out="build-sanitize/fuzz/$target"
  # The fork mode's last status line: "#<executions>: cov: ... oom/timeout/crash: o/t/c ...".
  status="$(grep -E '^#[0-9]+: cov:' "$out/log" | tail -n 1 || true)"
  executions="${status%%:*}"
  counts="$(sed -nE 's|.*oom/timeout/crash: ([0-9/]+).*|\1|p' <<<"$status")"
  files="$(find "$out/findings" -type f | wc -l)"
  printf '%-18s %12s  %-18s %s\n' "$target" "${executions#\#}" "${counts:-0/0/0}" "$files"
  found=$((found + files))
  find "$out/findings" -type f -printf '    %p\n'
done
[ "$found" -eq 0 ]
