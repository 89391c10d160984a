#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz and runs each for a
# bounded time on a copy of its seed corpus. Exits non-zero on any crash,
# leak or sanitizer report.
#   FUZZ_SECONDS  time per target (default 30)
#   FUZZ_JOBS     build jobs (default 2)
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build="$root/build-fuzz"
seconds=${FUZZ_SECONDS:-30}
jobs=${FUZZ_JOBS:-2}
sanitize="-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer"

cmake -S "$root" -B "$build" -G Ninja -DKV_FUZZ_ONLY=ON \
  -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DCMAKE_CXX_FLAGS="$sanitize" -DCMAKE_C_FLAGS="$sanitize" >/dev/null
targets="decoder log_file setup_file config_file plot_cfg plot_lab"
# shellcheck disable=SC2046
nice cmake --build "$build" --target $(printf 'fuzz_%s ' $targets) -j "$jobs"

status=0
for target in $targets; do
  work="$build/fuzz-run/$target"
  rm -rf "$work"
  mkdir -p "$work/corpus" "$work/artifacts"
  cp "$root/fuzz/corpus/$target"/* "$work/corpus/"
  echo "fuzzing $target for ${seconds}s"
  if ! (cd "$work" && "$build/fuzz/fuzz_$target" -max_total_time="$seconds" -max_len=8192 -rss_limit_mb=2048 \
        -artifact_prefix="$work/artifacts/" -print_final_stats=1 corpus >"$work/log.txt" 2>&1); then
    echo "fuzz_$target FAILED; see $work/log.txt and $work/artifacts/" >&2
    tail -n 40 "$work/log.txt" >&2
    status=1
  else
    grep -E "stat::number_of_executed_units" "$work/log.txt" || true
  fi
done
exit $status
