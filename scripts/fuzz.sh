#!/usr/bin/env bash
# Fuzzes the readers of outside data with libFuzzer (AddressSanitizer and UndefinedBehaviorSanitizer).
#
#   scripts/fuzz.sh TARGET|all SECONDS   builds the targets in build-fuzz/, then runs the target
#                                        (or each in turn) for that many seconds
#   scripts/fuzz.sh --build-only         builds them and nothing more
#   scripts/fuzz.sh --check TARGET|all SECONDS
#                                        runs what was built from the seeds alone, keeping
#                                        nothing it finds (what ./test does)
#   scripts/fuzz.sh --seeds              writes our writers' seeds into fuzz/seeds/ again (the
#                                        inputs kept there from faults found stay)
#   scripts/fuzz.sh --list               names the targets
#
# Each run starts from the target's corpus in build-fuzz/corpus/ (a campaign adds to it), its
# seeds in fuzz/seeds/ and the sample files of ../shared/corpus when they are there. Exits non-zero
# on any crash, leak, timeout or allocation past 2 GB; the input that did it lands in
# build-fuzz/artifacts/<target>/.
# FUZZ_OPTIONS adds libFuzzer options, for example -max_len=4096. Runs are niced to 19 (builds go
# first), leave the corpus folder alone while they run (one fuzzer a corpus: -reload=0) and pick
# slow inputs less often, so that the executions go where the readers are.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build-fuzz
check=0

targets=(film gif bmp sprite drawfile wmf emf stamps sounds wav palette clip-frames clip-sounds settings)

# Sample files made by other programs that each target starts from.
samples() {
  case "$1" in
    gif) echo gif ;;
    bmp) echo bmp ;;
    sprite) echo sprite ;;
    drawfile) echo draw ;;
    wmf) echo wmf ;;
    emf) echo emf ;;
    sounds | wav) echo wav ;;
    palette) echo pal ;;
  esac
}

build_targets() {
  ./scripts/install-deps.sh
  if [ ! -f "$build/CMakeCache.txt" ]; then
    CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
      -DCMAKE_CXX_FLAGS_RELWITHDEBINFO="-O1 -g" -DCELVANE_SANITIZE=ON -DCELVANE_FUZZ=ON \
      -DCELVANE_TESTS=OFF -DCELVANE_BENCH=OFF >/dev/null
  fi
  cmake --build "$build" --target celvane-fuzzers
}

run_target() {
  local target=$1 seconds=$2
  local binary=$build/bin/fuzz-$target
  [ -x "$binary" ] || { echo "fuzz.sh: no target $target (built: ${targets[*]})" >&2; return 2; }
  local corpus=$build/corpus/$target artifacts=$build/artifacts/$target/
  local log=$build/$target.log
  # A check keeps its log apart, so that a campaign's survives one run meanwhile.
  [ "$check" = 1 ] && corpus=$(mktemp -d) log=$build/$target.check.log
  mkdir -p "$corpus" "$artifacts"
  local dirs=("$corpus" "$root/fuzz/seeds/$target")
  local kind
  for kind in $(samples "$target"); do
    [ -d "$root/../shared/corpus/$kind" ] && dirs+=("$root/../shared/corpus/$kind")
  done
  echo "== $target for ${seconds}s"
  # The first folder takes what the run finds; the seeds are only read.
  local status=0
  ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    LSAN_OPTIONS=suppressions=$root/tests/lsan.supp QT_QPA_PLATFORM=offscreen \
    nice -n 19 "$binary" -max_total_time="$seconds" -rss_limit_mb=2048 -timeout=60 -print_final_stats=1 \
    -reload=0 -entropic_scale_per_exec_time=1 -artifact_prefix="$artifacts" ${FUZZ_OPTIONS:-} "${dirs[@]}" \
    2>"$log" || status=$?
  [ "$check" = 1 ] && rm -rf "$corpus"
  if [ $status -ne 0 ]; then
    tail -n 60 "$log" >&2
    echo "fuzz.sh: $target FAILED (input in $artifacts)" >&2
    return 1
  fi
  # libFuzzer's last status line: executions, coverage, features.
  grep -E '^#[0-9]+' "$log" | tail -n 1
  grep -E 'stat::number_of_executed_units' "$log" || true
}

case "${1:-}" in
  --list) printf '%s\n' "${targets[@]}"; exit 0 ;;
  --build-only) build_targets; exit 0 ;;
  --seeds)
    build_targets
    QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$build/bin/fuzz-seeds" "$root/fuzz/seeds"
    exit 0 ;;
  --check) check=1; shift ;;
  "") sed -n '2,/^set -euo/p' "$0" | grep '^#' >&2; exit 2 ;;
  *) build_targets ;;
esac

[ $# -eq 2 ] || { sed -n '2,/^set -euo/p' "$0" | grep '^#' >&2; exit 2; }
which=$1 seconds=$2
[ "$which" = all ] && chosen=("${targets[@]}") || chosen=("$which")
failed=0
for target in "${chosen[@]}"; do
  run_target "$target" "$seconds" || failed=1
done
exit $failed
